#pragma once
// The title bar as a screen reader sees it: the caption buttons the skin
// shows, where it shows them, in the child numbering clients know from the
// system's own title bar (self, IME, minimise, maximise, help, close).
#include <windows.h>

namespace qs {

class TWinSkinForm;
struct TMessage;

// Child ids of the title-bar object.
enum TTitleBarChild : int {
    tbSelf = 0,
    tbIme = 1,
    tbMinimize = 2,
    tbMaximize = 3,
    tbHelp = 4,
    tbClose = 5,
    tbChildCount = 5
};

// The child a caption button with this action stands for, or tbSelf when
// it stands for none (the icon, custom buttons).
int TitleBarChildOfAction(int action);

// Answers WM_GETOBJECT for the title bar of a skinned frame; false leaves
// the message to the window's previous procedure.
bool AnswerTitleBarObject(TWinSkinForm& form, TMessage& msg);

}  // namespace qs
