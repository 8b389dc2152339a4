#include "editors/patchediting.h"

namespace orb8 {

std::uintptr_t ProjectKey(const ProjectSession* project) { return reinterpret_cast<std::uintptr_t>(project); }

std::shared_ptr<const ProjectSession> ProjectOfKey(const std::vector<OpenProject>& projects, std::uintptr_t key) {
    for (const OpenProject& p : projects)
        if (auto session = p.session.lock(); session && ProjectKey(session.get()) == key) return session;
    return nullptr;
}

}  // namespace orb8
