#include "input/HidQueueItem.h"

#include "input/InputMessages.h"

namespace {

HidQueueItem Item(HidItemType type) {
    HidQueueItem item;
    item.type = static_cast<uint32_t>(type);
    return item;
}

} // namespace

HidQueueItem MakeHidMouseItem(uint32_t msg, int32_t x, int32_t y) {
    HidQueueItem item = Item(HidItemType::Mouse);
    item.msg = msg;
    item.x = x;
    item.y = y;
    return item;
}

HidQueueItem MakeHidWheelItem(int32_t x, int32_t y, int32_t delta) {
    HidQueueItem item = Item(HidItemType::Wheel);
    item.x = x;
    item.y = y;
    item.delta = delta;
    return item;
}

HidQueueItem MakeHidKeyItem(uint32_t msg, uint32_t vk) {
    HidQueueItem item = Item(HidItemType::Key);
    item.msg = msg;
    item.vk = vk;
    return item;
}

HidQueueItem MakeHidNumLockTapItem() {
    return Item(HidItemType::NumLockTap);
}

HidQueueItem MakeHidSetModifiersItem(uint32_t mask) {
    HidQueueItem item = Item(HidItemType::SetModifiers);
    item.modifiers = mask;
    return item;
}

HidQueueItem MakeHidReleaseModifiersItem() {
    return Item(HidItemType::ReleaseModifiers);
}
