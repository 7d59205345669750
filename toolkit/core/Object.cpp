#include "Object.h"

#include <map>

namespace qs {

namespace {
std::string lower(std::string_view s) {
    std::string r(s);
    for (auto& c : r)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return r;
}
std::map<std::string, const TClassInfo*>& registry() {
    static std::map<std::string, const TClassInfo*> r;
    return r;
}
}  // namespace

const TPropInfo* TClassInfo::findProp(std::string_view n) const {
    for (const TClassInfo* c = this; c; c = c->parent)
        for (auto& p : c->props)
            if (TClassBuilder<TObject>::equalsNoCase(p.name, n)) return &p;
    return nullptr;
}

bool TClassInfo::inheritsFrom(const TClassInfo& other) const {
    for (const TClassInfo* c = this; c; c = c->parent)
        if (c == &other) return true;
    return false;
}

const TClassInfo& TObject::StaticClassInfo() {
    static const TClassInfo info{"TObject", nullptr, {}, {}};
    return info;
}

const TPropInfo* FindPropInfo(const TObject* obj, std::string_view name) {
    return obj ? obj->ClassInfo().findProp(name) : nullptr;
}

bool HasProp(const TObject* obj, std::string_view name) { return FindPropInfo(obj, name) != nullptr; }

std::optional<TPropValue> GetPropValue(const TObject* obj, std::string_view name) {
    const TPropInfo* p = FindPropInfo(obj, name);
    if (!p || !p->get) return std::nullopt;
    return p->get(obj);
}

bool SetPropValue(TObject* obj, std::string_view name, const TPropValue& value) {
    const TPropInfo* p = FindPropInfo(obj, name);
    if (!p || !p->set) return false;
    return p->set(obj, value);
}

template <class V>
static V getAs(const TObject* obj, std::string_view name, V fallback) {
    auto v = GetPropValue(obj, name);
    if (!v) return fallback;
    if (auto* x = std::get_if<V>(&*v)) return *x;
    return fallback;
}

int64_t GetIntProp(const TObject* o, std::string_view n, int64_t f) { return getAs<int64_t>(o, n, f); }
bool GetBoolProp(const TObject* o, std::string_view n, bool f) { return getAs<bool>(o, n, f); }
std::string GetStrProp(const TObject* o, std::string_view n, std::string f) { return getAs<std::string>(o, n, std::move(f)); }
std::wstring GetWideStrProp(const TObject* o, std::string_view n, std::wstring f) { return getAs<std::wstring>(o, n, std::move(f)); }
std::string GetEnumProp(const TObject* o, std::string_view n, std::string f) { return getAs<std::string>(o, n, std::move(f)); }
TObject* GetObjectProp(const TObject* o, std::string_view n) { return getAs<TObject*>(o, n, nullptr); }

void RegisterComponentClass(const TClassInfo& info) { registry()[lower(info.name)] = &info; }

const TClassInfo* FindClass(std::string_view name) {
    auto& r = registry();
    auto it = r.find(lower(name));
    return it == r.end() ? nullptr : it->second;
}

}  // namespace qs
