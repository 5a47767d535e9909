// The registered sources of templates, menus and strings.

#include <mutex>
#include <vector>

#include "platform/dialog_template.h"

namespace {

struct Registry {
    std::mutex mutex;
    std::vector<ResourceSource> sources;  // in registration order
    std::vector<std::function<const char*(int)>> images;
};

Registry& TheRegistry() {
    static Registry r;
    return r;
}

// The first answer of the sources, newest first.
template <typename T, typename Member>
const T* Find(Member member, int id) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    for (auto it = r.sources.rbegin(); it != r.sources.rend(); ++it) {
        const auto& lookup = (*it).*member;
        if (!lookup) continue;
        if (const T* found = lookup(id)) return found;
    }
    return nullptr;
}

}  // namespace

void RegisterResourceSource(ResourceSource source) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.sources.push_back(std::move(source));
}

const DialogTemplate* FindDialogTemplate(int id) { return Find<DialogTemplate>(&ResourceSource::dialog, id); }

const MenuTemplate* FindMenuTemplate(int id) { return Find<MenuTemplate>(&ResourceSource::menu, id); }

const char* LoadResString(int id) {
    const char* s = Find<char>(&ResourceSource::string, id);
    return s ? s : "";
}

void RegisterImageSource(std::function<const char*(int id)> source) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.images.push_back(std::move(source));
}

const char* FindImageFile(int id) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    for (auto it = r.images.rbegin(); it != r.images.rend(); ++it) {
        if (const char* file = (*it)(id)) return file;
    }
    return nullptr;
}
