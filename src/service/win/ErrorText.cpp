#include "core/win/SystemMessageText.h"
#include "service/win/WardletSupport.h"

std::string ErrorText(uint32_t messageId) {
    return SystemMessageText(messageId);
}
