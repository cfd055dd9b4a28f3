// Opens a toolkit window with a few controls on the in-memory screen,
// clicks its button through the scripted queue and writes the screen to a
// PNG file; on Windows, --show opens the same window on the real system and
// runs it until it is closed. Usage: velmora-windemo <out.png> | --show
#include "PngWriter.h"

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/core/InputCodes.h"
#include "gui/draw/DrawItem.h"
#include "gui/platform/CSoftScreen.h"

#include <cstdio>
#include <cstring>

namespace
{

// Paints the demo's controls from their skin items and counts the clicks.
class CDemo
{
public:
    explicit CDemo(CApp* app) : app(app) {}

    void PaintButton(CCtrl* c, CGraphic& g, Rect r)
    {
        const CSkinItem* item = app->theme->Find("button");
        DrawItem(g, r, item, 0);
        g.Text(item->itemtextcol, c->text, r, 0);
    }

    void PaintValue(CCtrl* c, CGraphic& g, Rect r)
    {
        const CSkinItem* item = app->theme->Find("value");
        DrawItem(g, r, item, 0);
        g.Text(item->itemtextcol, c->text, r, 0);
    }

    void PaintLabel(CCtrl* c, CGraphic& g, Rect r)
    {
        g.Text(app->theme->Find("winbkgnd")->itemtextcol, c->text, r, kAlignLeft);
    }

    void Clicked(CCtrl*, int32_t, int32_t, int32_t)
    {
        ++clicks;
        char text[32];
        std::snprintf(text, sizeof text, "%d", clicks);
        value->SetText(text);
        value->Invalidate();
    }

    CApp* app;
    CCtrl* value = nullptr;
    int clicks = 0;
};

CCtrl* Place(CWin* win, int32_t x, int32_t y, int32_t w, int32_t h, const char* text)
{
    CCtrl* c = new CCtrl(win);
    c->x = x;
    c->y = y;
    c->width = w;
    c->height = h;
    c->SetText(text);
    win->AddChild(c);
    return c;
}

// The demo window with its controls, hidden; the caller deletes it.
CWin* BuildDemo(CApp* app, CDemo* demo)
{
    CWin* win = new CWin(app, nullptr,
                         kWinTitleBar | kWinResizable | kWinMaxButton | kWinMinButton | kWinCentre | kWinAppWindow,
                         "Velmora toolkit", 0, 0, 320, 180);
    CCtrl* label = Place(win, 12, 14, 120, 16, "Clicks so far");
    label->OnPaint = new _COnPaint<CDemo>(demo, &CDemo::PaintLabel);
    demo->value = Place(win, 140, 12, 80, 20, "0");
    demo->value->OnPaint = new _COnPaint<CDemo>(demo, &CDemo::PaintValue);
    CCtrl* button = Place(win, 12, 50, 96, 24, "Click");
    button->OnPaint = new _COnPaint<CDemo>(demo, &CDemo::PaintButton);
    button->OnMouseUp = new _COnMouse<CDemo>(demo, &CDemo::Clicked);
    CGroup* panel = new CGroup(win);
    panel->x = 12;
    panel->y = 90;
    panel->width = 290;
    panel->height = 50;
    panel->background = 0x282828;
    panel->anchor = kAnchorStretchX;
    panel->marginX = 12;
    win->AddChild(panel);
    return win;
}

// The window on the system's own screen, until the user closes it.
int Show()
{
#ifdef _WIN32
    CApp app;
    CDemo demo(&app);
    CWin* win = BuildDemo(&app, &demo);
    app.Run(win);
    delete win;
    std::printf("velmora-windemo: %d clicks\n", demo.clicks);
    return 0;
#else
    std::fprintf(stderr, "velmora-windemo: --show needs a Windows build; this build draws on the in-memory screen\n");
    return 2;
#endif
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: velmora-windemo <out.png> | --show\n");
        return 2;
    }
    if (std::strcmp(argv[1], "--show") == 0)
        return Show();
    CSoftScreen screen;
    screen.screen = Rect{0, 0, 400, 260};
    CApp app(&screen);
    CDemo demo(&app);
    CWin* win = BuildDemo(&app, &demo);
    win->Show(true);

    // Two clicks on the button, through the queue as a user would make them.
    int32_t px = 0;
    int32_t py = 0;
    win->GetPos(false, px, py);
    for (int i = 0; i < 2; ++i)
    {
        screen.Press(px + 3 + 40, py + 23 + 60, kMouseLeft);
        screen.Release(px + 3 + 40, py + 23 + 60, kMouseLeft);
    }
    Message m;
    while (screen.Peek(m))
        screen.Dispatch(m);

    CSoftContext picture(screen.screen.Width(), screen.screen.Height());
    picture.SelectBrush(0x6B4A2A);
    picture.FillRect(screen.screen);
    screen.Compose(picture);
    delete win;
    if (!WritePng(picture, argv[1]))
    {
        std::fprintf(stderr, "velmora-windemo: cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("velmora-windemo: %d clicks, picture in %s\n", demo.clicks, argv[1]);
    return demo.clicks == 2 ? 0 : 1;
}
