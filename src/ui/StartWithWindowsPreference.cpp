#include "ui/StartWithWindowsPreference.h"

#include "core/Log.h"
#include "core/SettingsStore.h"

bool InterpretStartupValue(const StartupValueRead& read) {
    if (read.openRc == kRegistryNotFound)
        return true;
    if (read.openRc != 0) {
        Log::Write("Tray startup preference open failed rc=%ld; use default=enabled", read.openRc);
        return true;
    }
    if (read.queryRc == kRegistryNotFound)
        return true;
    if (read.queryRc != 0 || read.type != kRegistryTypeDword || read.size != 4) {
        Log::Write("Tray startup preference query invalid rc=%ld type=%lu cb=%lu; use default=enabled",
                   read.queryRc, static_cast<unsigned long>(read.type),
                   static_cast<unsigned long>(read.size));
        return true;
    }
    return read.value != 0;
}
