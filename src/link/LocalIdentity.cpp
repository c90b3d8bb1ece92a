#include "link/LocalIdentity.h"

#include <mutex>

#include "core/BuildInfo.h"
#include "core/Utf.h"

namespace Discovery {

namespace {

struct IdentityStore {
    std::mutex mutex;
    LocalIdentity identity = MakeLocalIdentity("");
};

// Never destroyed: senders on detached threads may still read it while the process exits.
IdentityStore& Store() {
    static IdentityStore* store = new IdentityStore;
    return *store;
}

} // namespace

LocalIdentity MakeLocalIdentity(std::string_view computerName) {
    std::string_view name = CutUtf8(computerName, kComputerNameMaxBytes);
    LocalIdentity identity;
    identity.id = "TSLY-" + std::string(name.empty() ? "UNKNOWN" : name);
    identity.name = name.empty() ? "Tessaly" : std::string(name);
    identity.version = BuildInfo::kVersion;
    return identity;
}

void SetLocalIdentity(LocalIdentity identity) {
    IdentityStore& store = Store();
    std::lock_guard<std::mutex> lock(store.mutex);
    store.identity = std::move(identity);
}

LocalIdentity CurrentLocalIdentity() {
    IdentityStore& store = Store();
    std::lock_guard<std::mutex> lock(store.mutex);
    return store.identity;
}

} // namespace Discovery
