#pragma once
// The viewer's dealings with the outside: the page fragment, the help page,
// and the desktop shortcut. The form's handlers call these in their order.
#include <string>

namespace qv {

// Full address of the live channel's page.
std::string channelPageUrl();
// The channel page framed in one inline frame; narrow text.
std::string pageFragment();
// Full address of the operator's help page for the playback plug-in.
std::string helpPageUrl();
// The shortcut's file name as narrow text in code page 936.
extern const char kShortcutName936[];

// Writes "<desktop>\<name>.lnk" pointing at the running program. Throws
// std::runtime_error when the shell-link object or its interfaces cannot be
// had; the results of the later calls are not checked.
void createDesktopShortcut();

// Ask the shell to open the help page, or the channel page, in the default
// browser.
void openHelpPage();
void openChannelPage();

}  // namespace qv
