#pragma once
// Components for the form-definition tests: every property kind, a nesting
// hook, a menu that frees its items, and a trace of what happened in which
// order. Every instance counts itself live, so a test can see that a failed
// read freed all it made.
#include <functional>
#include <string>
#include <vector>

#include "Component.h"

namespace formtest {

using namespace qs;

extern int g_live;
extern std::vector<std::string> g_trace;
using TNotify = std::function<void(TObject*)>;

class TTestFont : public TPersistent {
    QS_DECLARE_CLASS(TTestFont)
public:
    TTestFont() { ++g_live; }
    ~TTestFont() override { --g_live; }
    std::string name = "MS Sans Serif";
    int64_t height = -11;
    int64_t colour = 0xFF000008;
    uint64_t style = 0;
    int64_t charset = 1;
};

class TTestPanel : public TCollectionItem {
    QS_DECLARE_CLASS(TTestPanel)
public:
    explicit TTestPanel(TCollection* c) : TCollectionItem(c) { ++g_live; }
    ~TTestPanel() override { --g_live; }
    int64_t width = 50;
    std::wstring text;
    int alignment = 0;
    TObject* link = nullptr;
};

class TTestMenu;

class TTestControl : public TComponent {
    QS_DECLARE_CLASS(TTestControl)
public:
    explicit TTestControl(TComponent* owner);
    ~TTestControl() override;
    void SetName(const std::string& n) override;
    void SetParentComponent(TComponent* parent) override;
    TComponent* GetParentComponent() const override { return parent; }
    void Loaded() override;
    void log(const char* prop) const { g_trace.push_back("set " + Name() + "." + prop); }

    TComponent* parent = nullptr;
    std::vector<TTestControl*> children;
    int64_t left = 0, width = 100;
    bool visible = true;
    std::string hint;
    std::wstring caption;
    int align = 0;
    uint64_t anchors = 3;  // akLeft, akTop
    int64_t colour = 0xFF00000F;
    TTestFont font;
    TObject* popupMenu = nullptr;
    TTypedCollection<TTestPanel> panels;
    TStringList lines;
    TBytes data;
    TNotify onClick;
    TObject* menuAtLoaded = nullptr;  // what PopupMenu held when Loaded ran
};

// The root: publishes handlers by name like a form does.
class TTestForm : public TTestControl {
    QS_DECLARE_CLASS(TTestForm)
public:
    explicit TTestForm(TComponent* owner);
    int clicks = 0;
    TObject* activeControl = nullptr;
};

class TTestMenu : public TComponent {
    QS_DECLARE_CLASS(TTestMenu)
public:
    explicit TTestMenu(TComponent* owner) : TComponent(owner) { ++g_live; }
    ~TTestMenu() override;  // frees its items, as a real menu does
    void SetName(const std::string& n) override;
    void Loaded() override;
    std::vector<class TTestMenuItem*> items;
};

class TTestMenuItem : public TComponent {
    QS_DECLARE_CLASS(TTestMenuItem)
public:
    explicit TTestMenuItem(TComponent* owner) : TComponent(owner) { ++g_live; }
    ~TTestMenuItem() override;
    void SetName(const std::string& n) override;
    void SetParentComponent(TComponent* parent) override;
    TComponent* GetParentComponent() const override { return menu; }
    void Loaded() override;
    TTestMenu* menu = nullptr;
    std::wstring caption;
    TNotify onClick;
};

// Stand-in for a data component: a stored blob, a string list, a wide set,
// a read-only version text and a setter that can fail.
class TTestData : public TComponent {
    QS_DECLARE_CLASS(TTestData)
public:
    explicit TTestData(TComponent* owner);
    ~TTestData() override { --g_live; }
    void SetName(const std::string& n) override;
    void Loaded() override;
    bool active = false;
    TBytes stream;
    TStringList extra;
    uint64_t controls;
    int formType = 0;
    bool loadedAtStreamSet = true;  // whether csLoading was on when Stream arrived
};

// Bytes that compress badly, as a stored skin's do.
TBytes pseudoRandom(size_t n);
// Hex lines of a blob as a definition carries them.
std::string hexLines(const TBytes& b, size_t perLine = 32);
// A definition shaped like the viewer's main form, storing `blob`.
std::string viewerDefinition(const TBytes& blob);

// Registers every test class (idempotent).
void RegisterTestClasses();

}  // namespace formtest
