#pragma once
// The toolkit's object model: run-time class information, published properties
// readable and writable by name, and a registry of classes by name. Portable:
// the form reader, the engine and tests reach properties only through here.
#include <any>
#include <cstdint>
#include <functional>
#include <type_traits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qs {

class TObject;
class TComponent;
class TCollection;
struct TClassInfo;

enum class TPropKind {
    Integer,     // int64_t
    Boolean,     // bool
    String,      // std::string (UTF-8)
    WideString,  // std::wstring
    Enum,        // std::string: the member's name
    Set,         // TSetValue: member names
    Colour,      // int64_t colour number (0x00BBGGRR, or 0xFF0000nn for a system colour)
    Object,      // TObject*: a sub-object (Font) or a reference to a component (PopupMenu)
    Binary,      // TBytes
    Event,       // std::any holding the handler's std::function type
    Collection,  // TObject* of a TCollection: items are added by the form reader
    StringList,  // TStringList: lines of text (UTF-8)
};

using TBytes = std::vector<uint8_t>;
using TStringList = std::vector<std::string>;
struct TSetValue {
    std::vector<std::string> members;
    bool has(std::string_view m) const {
        for (auto& x : members)
            if (x == m) return true;
        return false;
    }
    bool operator==(const TSetValue&) const = default;
};

using TPropValue = std::variant<std::monostate, int64_t, bool, std::string, std::wstring, TSetValue, TObject*,
                                TBytes, std::any, TStringList>;

struct TPropInfo {
    std::string name;
    TPropKind kind;
    std::function<TPropValue(const TObject*)> get;        // empty: write-only
    std::function<bool(TObject*, const TPropValue&)> set;  // empty: read-only
    const std::vector<std::string>* members = nullptr;     // names of Enum/Set members, in ordinal order
    const TClassInfo* objectClass = nullptr;               // for Object: what may be referenced
};

struct TClassInfo {
    std::string name;
    const TClassInfo* parent = nullptr;
    std::vector<TPropInfo> props;
    // Set for classes a form definition may create.
    std::function<TComponent*(TComponent* owner)> create;

    // Own properties first, then the ancestors'; the first match wins, so a
    // class can republish an inherited name.
    const TPropInfo* findProp(std::string_view name) const;
    bool inheritsFrom(const TClassInfo& other) const;
};

class TObject {
public:
    virtual ~TObject() = default;
    static const TClassInfo& StaticClassInfo();
    virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
    const std::string& ClassName() const { return ClassInfo().name; }
    bool InheritsFrom(const TClassInfo& c) const { return ClassInfo().inheritsFrom(c); }
};

#define QS_DECLARE_CLASS(T)                                  \
public:                                                      \
    static const ::qs::TClassInfo& StaticClassInfo();        \
    const ::qs::TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

// Reading or writing a property a class does not publish is not an error:
// GetPropValue gives nullopt and SetPropValue false.
std::optional<TPropValue> GetPropValue(const TObject* obj, std::string_view name);
bool SetPropValue(TObject* obj, std::string_view name, const TPropValue& value);
bool HasProp(const TObject* obj, std::string_view name);
const TPropInfo* FindPropInfo(const TObject* obj, std::string_view name);

// Typed conveniences for the engine: a missing property or another kind reads as `fallback`.
int64_t GetIntProp(const TObject* obj, std::string_view name, int64_t fallback = 0);
bool GetBoolProp(const TObject* obj, std::string_view name, bool fallback = false);
std::string GetStrProp(const TObject* obj, std::string_view name, std::string fallback = {});
std::wstring GetWideStrProp(const TObject* obj, std::string_view name, std::wstring fallback = {});
std::string GetEnumProp(const TObject* obj, std::string_view name, std::string fallback = {});
TObject* GetObjectProp(const TObject* obj, std::string_view name);

// Class registry by name (case-blind, as class names are in form definitions).
void RegisterComponentClass(const TClassInfo& info);
const TClassInfo* FindClass(std::string_view name);

// Builds a class's information: one call chain per class, in its .cpp file.
template <class C>
class TClassBuilder {
public:
    TClassBuilder(std::string name, const TClassInfo* parent) {
        info_.name = std::move(name);
        info_.parent = parent;
    }
    TClassBuilder& creatable() {
        info_.create = [](TComponent* owner) -> TComponent* { return new C(owner); };
        return *this;
    }
    // Generic: any getter (const C&) -> TPropValue-convertible, setter (C&, const V&).
    template <class V, class G, class S>
    TClassBuilder& prop(const char* name, TPropKind kind, G get, S set, const std::vector<std::string>* members = nullptr) {
        TPropInfo p;
        p.name = name;
        p.kind = kind;
        p.members = members;
        if constexpr (!std::is_same_v<G, std::nullptr_t>)
            p.get = [get](const TObject* o) -> TPropValue { return TPropValue(V(std::invoke(get, *static_cast<const C*>(o)))); };
        if constexpr (!std::is_same_v<S, std::nullptr_t>)
            p.set = [set](TObject* o, const TPropValue& v) -> bool {
                auto* x = std::get_if<V>(&v);
                if (!x) return false;
                // A setter may refuse a value (an unknown enumeration member) by returning false.
                if constexpr (std::is_same_v<std::invoke_result_t<S, C&, const V&>, bool>)
                    return std::invoke(set, *static_cast<C*>(o), *x);
                else {
                    std::invoke(set, *static_cast<C*>(o), *x);
                    return true;
                }
            };
        info_.props.push_back(std::move(p));
        return *this;
    }
    template <class G, class S>
    TClassBuilder& integer(const char* name, G get, S set) { return prop<int64_t>(name, TPropKind::Integer, get, set); }
    template <class G, class S>
    TClassBuilder& boolean(const char* name, G get, S set) { return prop<bool>(name, TPropKind::Boolean, get, set); }
    template <class G, class S>
    TClassBuilder& string(const char* name, G get, S set) { return prop<std::string>(name, TPropKind::String, get, set); }
    template <class G, class S>
    TClassBuilder& wide(const char* name, G get, S set) { return prop<std::wstring>(name, TPropKind::WideString, get, set); }
    template <class G, class S>
    TClassBuilder& colour(const char* name, G get, S set) { return prop<int64_t>(name, TPropKind::Colour, get, set); }
    template <class G, class S>
    TClassBuilder& binary(const char* name, G get, S set) { return prop<TBytes>(name, TPropKind::Binary, get, set); }
    // Enumerations travel as member names; get/set work on ordinals.
    template <class G, class S>
    TClassBuilder& enumeration(const char* name, const std::vector<std::string>& members, G get, S set) {
        const auto* m = &members;
        return prop<std::string>(
            name, TPropKind::Enum,
            [get, m](const C& c) -> std::string {
                int i = int(std::invoke(get, c));
                return i >= 0 && size_t(i) < m->size() ? (*m)[size_t(i)] : std::string();
            },
            [set, m](C& c, const std::string& v) -> bool {
                for (size_t i = 0; i < m->size(); ++i)
                    if (equalsNoCase((*m)[i], v)) {
                        std::invoke(set, c, int(i));
                        return true;
                    }
                return false;
            },
            m);
    }
    // Sets travel as member names; get/set work on a bit mask of ordinals.
    template <class G, class S>
    TClassBuilder& set(const char* name, const std::vector<std::string>& members, G get, S set) {
        const auto* m = &members;
        return prop<TSetValue>(
            name, TPropKind::Set,
            [get, m](const C& c) {
                TSetValue s;
                uint64_t bits = uint64_t(std::invoke(get, c));
                for (size_t i = 0; i < m->size(); ++i)
                    if (bits & (uint64_t(1) << i)) s.members.push_back((*m)[i]);
                return s;
            },
            [set, m](C& c, const TSetValue& v) -> bool {
                uint64_t bits = 0;
                for (auto& name : v.members) {
                    size_t i = 0;
                    while (i < m->size() && !equalsNoCase((*m)[i], name)) ++i;
                    if (i == m->size()) return false;
                    bits |= uint64_t(1) << i;
                }
                std::invoke(set, c, bits);
                return true;
            },
            m);
    }
    template <class G, class S>
    TClassBuilder& object(const char* name, G get, S set, const TClassInfo* cls = nullptr) {
        prop<TObject*>(name, TPropKind::Object, get, set);
        info_.props.back().objectClass = cls;
        return *this;
    }
    template <class G, class S>
    TClassBuilder& strings(const char* name, G get, S set) { return prop<TStringList>(name, TPropKind::StringList, get, set); }
    template <class G>
    TClassBuilder& collection(const char* name, G get) {
        return prop<TObject*>(name, TPropKind::Collection, get, nullptr);
    }
    // An event: the setter receives the handler's std::function type F.
    template <class F, class G, class S>
    TClassBuilder& event(const char* name, G get, S set) {
        TPropInfo p;
        p.name = name;
        p.kind = TPropKind::Event;
        p.get = [get](const TObject* o) -> TPropValue { return TPropValue(std::any(F(std::invoke(get, *static_cast<const C*>(o))))); };
        p.set = [set](TObject* o, const TPropValue& v) -> bool {
            auto* a = std::get_if<std::any>(&v);
            if (!a) return false;
            if (auto* f = std::any_cast<F>(a)) {
                std::invoke(set, *static_cast<C*>(o), *f);
                return true;
            }
            return false;
        };
        info_.props.push_back(std::move(p));
        return *this;
    }
    TClassInfo build() { return std::move(info_); }

    static bool equalsNoCase(std::string_view a, std::string_view b) {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i) {
            char x = a[i], y = b[i];
            if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
            if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
            if (x != y) return false;
        }
        return true;
    }

private:
    TClassInfo info_;
};

}  // namespace qs
