#include "gui/core/CApp.h"

CApp::CApp() : theme(new CAppGui())
{
    theme->Init();
}

CApp::~CApp()
{
    delete theme;
}
