// Program entry: the application object, the main form, the message loop.
#include "U_qv.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace qs;
    qv::RegisterViewerClasses();
    Application->Initialize();
    Application->CreateForm(&qv::F_qv);
    Application->Run();
    return 0;
}
