// The C++ side of the package: the engine's headers resolve from the
// installed include root and a skin data component links.
#include <SkinData.h>
#include <SkinManage.h>

int main() {
    qs::TSkinData data(nullptr);
    return data.SkinLoaded() || qs::SkinManager() ? 1 : 0;
}
