#pragma once
// The platform's way of telling the user that a skin archive is too old to
// read: a modal message box on Windows, nothing elsewhere.
namespace qs {
void platformOlderSkinNotice(const char* message);
}
