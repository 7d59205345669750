#pragma once
// The application object: owns the forms made with CreateForm, runs the
// message loop until the main form closes, and reports errors that escape
// event handlers.
#include <windows.h>

#include <exception>
#include <functional>
#include <string>

#include "Forms.h"

namespace qs {

// (sender, the exception being reported)
using TExceptionEvent = std::function<void(TObject* sender, std::exception_ptr error)>;

class TApplication : public TComponent {
    QS_DECLARE_CLASS(TApplication)
public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    void Initialize();
    // Makes a form owned by the application; the first one becomes the main
    // form. A form that cannot be made (its definition or a component's
    // loaded step failed) is reported and none is returned: a program left
    // without a main form ends its Run at once instead of aborting.
    template <class F>
    F* CreateForm(F** ref = nullptr) {
        F* f = nullptr;
        try {
            f = new F(this);
        } catch (...) {
            if (ref) *ref = nullptr;
            ReportCurrentException();
            return nullptr;
        }
        if (ref) *ref = f;
        if (!FMainForm) FMainForm = f;
        return f;
    }
    TCustomForm* MainForm() const { return FMainForm; }
    // Shows the main form and dispatches messages until it is closed (or
    // Terminate is called); then the application's forms are freed.
    void Run();
    // Ends Run (through the queue: messages already posted are handled first).
    void Terminate();
    bool Terminated() const { return FTerminated || FQuitPosted; }
    // Handles the messages waiting now, then returns.
    void ProcessMessages();
    // Dispatches one message if there is one; false when the queue was empty.
    bool HandleMessage();
    // Keyboard routing before dispatch (dialog keys to the form, key
    // notifications to the focused control); true when the message was used.
    bool PreprocessMessage(MSG& msg);

    // A hidden window that stands for the application (its title and icon).
    HWND Handle();
    const std::wstring& Title() const { return FTitle; }
    void SetTitle(const std::wstring& t);
    // The program's icon: the MAINICON resource when there is one, else the
    // system's application icon. Not owned when set from outside.
    HICON Icon() const { return FIcon; }
    void SetIcon(HICON icon);
    bool ShowMainForm() const { return FShowMainForm; }
    void SetShowMainForm(bool v) { FShowMainForm = v; }

    // Reports an error that escaped an event handler: OnException when set,
    // else ShowException.
    void HandleException(TObject* sender, std::exception_ptr error);
    // The default report: standard error when the process has one (a console
    // or a redirected stream), a message box only when it has neither, so a
    // run without anyone watching never blocks on a dialog.
    virtual void ShowException(std::exception_ptr error);
    TExceptionEvent OnException;

    static std::string DescribeException(std::exception_ptr error);

protected:
    void Notification(TComponent* c, TOperation op) override;

private:
    TCustomForm* FMainForm = nullptr;
    bool FTerminated = false;
    bool FQuitPosted = false;
    bool FShowMainForm = true;
    HWND FHandle = nullptr;
    std::wstring FTitle;
    HICON FIcon = nullptr;
    bool FOwnsIcon = false;
};

// The program's application object. Made on first use, so code run from a
// static initialiser in any file can already reach it; assigning replaces it
// (the caller keeps ownership of what it assigns), and once made or assigned
// it is never made again, so a cleared one stays cleared.
class TApplicationRef {
public:
    TApplication* get() const;
    // The object as it stands, without making one.
    TApplication* peek() const;
    TApplication* operator->() const { return get(); }
    operator TApplication*() const { return get(); }
    TApplicationRef& operator=(TApplication* app);
};
extern TApplicationRef Application;

// Registers every control class a form definition can create.
void RegisterControlClasses();

// Each family of controls registers its own classes, so adding a family
// never touches another family's file.
void RegisterGroupControlClasses();     // group boxes, radio groups, scroll boxes, frames
void RegisterButtonControlClasses();    // buttons, bit and speed buttons, check boxes, radio buttons
void RegisterEditControlClasses();      // edits, memos, lists, combos, scroll bars, up-downs, pickers
void RegisterTabControlClasses();       // page and tab controls, tab sets, headers, list views
void RegisterProgressControlClasses();  // progress and track bars, media player

}  // namespace qs
