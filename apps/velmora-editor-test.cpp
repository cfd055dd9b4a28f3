// velmora-editor-test PLUGIN OUTDIR: opens the plug-in's editor the way a
// Linux host does (inside a window of the host's, through the library's
// exported entry and editor requests), drives it with real pointer input
// through the X server and compares every picture with the software
// backend's picture of the same state, drawn by a synthesizer built into
// this program. Also: one window for two opens, the same page after closing
// and opening again, renders unchanged by an open editor, a host that
// destroys its window first. Needs an X server with XTEST in DISPLAY.
// Writes the pictures to OUTDIR as PNG files; prints one line per check,
// then "N passed, M failed"; exits non-zero when a check failed.
#include "PngWriter.h"
#include "editor/CPluginWin.h"
#include "editor/CSynthEditorFactory.h"
#include "host/CEditorHosting.h"
#include "host/CVstHost.h"
#include "host/CX11HostWindow.h"

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/platform/CSoftContext.h"
#include "gui/platform/CSoftScreen.h"
#include "gui/platform/InputCodes.h"
#include "synth/CSynth.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace
{
constexpr int32_t kEditorWidth = 824;
constexpr int32_t kEditorHeight = 376;
constexpr int32_t kHostX = 40;  // the host window on the screen
constexpr int32_t kHostY = 30;
constexpr int32_t kHostWidth = 900;
constexpr int32_t kHostHeight = 420;
// Presses further apart than the double-click time: each one is a single click.
constexpr uint32_t kPressGapMs = 450;
// Idle requests after each input, 10 ms apart: time for the server to
// deliver the input and for the editor to rebuild and show itself.
constexpr int32_t kIdlesPerStep = 6;
constexpr int32_t kBlockFrames = 256;
constexpr int32_t kRenderBlocks = 200;

// One piece of pointer input, in editor coordinates.
struct Step
{
    enum Kind
    {
        Move,
        Press,
        Release
    } kind;
    int32_t x;
    int32_t y;
};

// The places the script touches, from the editor's layout: a knob of the
// oscillator panel (turned down), the program header's arrow and name, the title (which
// toggles the About page) and the page view's "Editor" tab.
const std::vector<Step> kKnobDrag = {{Step::Move, 108, 60}, {Step::Press, 108, 60}, {Step::Move, 108, 66},
                                     {Step::Move, 108, 78}, {Step::Move, 107, 92},  {Step::Release, 107, 92}};
const std::vector<Step> kNextProgram = {{Step::Move, 510, 358}, {Step::Press, 510, 358}, {Step::Release, 510, 358}};
const std::vector<Step> kBrowser = {{Step::Move, 430, 358}, {Step::Press, 430, 358}, {Step::Release, 430, 358}};
const std::vector<Step> kEditorTab = {{Step::Move, 784, 308}, {Step::Press, 784, 308}, {Step::Release, 784, 308}};
const std::vector<Step> kTitle = {{Step::Move, 100, 358}, {Step::Press, 100, 358}, {Step::Release, 100, 358}};
const std::vector<Step> kHover = {{Step::Move, 200, 120}, {Step::Move, 400, 250}, {Step::Move, 600, 90}};

struct Picture
{
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, rows top-down
};

void Pause(uint32_t milliseconds)
{
    timespec pause{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
    nanosleep(&pause, nullptr);
}

bool WritePicture(const Picture& picture, const std::string& path)
{
    if (picture.pixels.empty())
        return false;
    CSoftContext surface(picture.width, picture.height);
    uint8_t* bits = surface.Bits();
    for (int32_t y = 0; y < picture.height; ++y)
        for (int32_t x = 0; x < picture.width; ++x)
        {
            const uint32_t p = picture.pixels[static_cast<size_t>(y) * picture.width + x];
            uint8_t* at = bits + static_cast<size_t>(y) * surface.Stride() + static_cast<size_t>(x) * 4;
            at[0] = static_cast<uint8_t>(p);
            at[1] = static_cast<uint8_t>(p >> 8);
            at[2] = static_cast<uint8_t>(p >> 16);
            at[3] = 0;
        }
    return WritePng(surface, path);
}

// The same editor on the software backend, at the same place on its screen.
class CReference
{
public:
    CReference() : factory(synth), editor(&factory, nullptr, &screen)
    {
        screen.screen = Rect{0, 0, 1280, 1024};
        host = screen.Create(0, false, false, Rect{kHostX, kHostY, kHostX + kHostWidth, kHostY + kHostHeight}, nullptr);
        screen.Show(host, true);
    }
    ~CReference() { editor.Close(); }

    void Open()
    {
        editor.Open(reinterpret_cast<void*>(host));
        Settle();
    }
    void Close() { editor.Close(); }
    void Apply(const std::vector<Step>& steps)
    {
        for (const Step& step : steps)
        {
            const int32_t x = kHostX + step.x;
            const int32_t y = kHostY + step.y;
            if (step.kind == Step::Move)
                screen.Move(x, y);
            else if (step.kind == Step::Press)
            {
                screen.Advance(kPressGapMs);
                screen.Press(x, y, kMouseLeft);
            }
            else
                screen.Release(x, y, kMouseLeft);
            Settle();
        }
    }
    Picture Shot()
    {
        Picture picture;
        CWin* window = editor.Window();
        CDrawContext* surface = window ? screen.Context(window->hwnd) : nullptr;
        if (!surface)
            return picture;
        picture.width = surface->Width();
        picture.height = surface->Height();
        for (int32_t y = 0; y < picture.height; ++y)
            for (int32_t x = 0; x < picture.width; ++x)
            {
                const uint32_t c = surface->GetPixel(x, y);  // 0x00BBGGRR
                picture.pixels.push_back((c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF));
            }
        return picture;
    }

private:
    void Settle()
    {
        for (int32_t i = 0; i < 3; ++i)
        {
            Message m;
            while (screen.Peek(m))
                screen.Dispatch(m);
            editor.Idle();
        }
    }

    CSoftScreen screen;
    CSynth synth;
    CSynthEditorFactory factory;
    CEditorHosting editor;
    SysWindow host = 0;
};

// Runs inside a toolkit loop on the loop's timer: looks at its window from
// the host's side, then gives the input that should end the loop; closes the
// window itself if that input never arrives.
class CLoopProbe : public CCtrl
{
public:
    static constexpr int32_t kGiveUpTicks = 300;  // three seconds of 10 ms ticks

    CLoopProbe(CWin* window, CX11HostWindow& host, bool popup) : CCtrl(window), host(host), popup(popup) {}

    void Timer() override
    {
        ++ticks;
        const unsigned long w = window->hwnd;
        if (ticks == 2)
        {
            overrideRedirect = host.IsOverrideRedirect(w);
            transientFor = host.TransientFor(w);
            // A press on the owner for the popup; a close request for the dialog.
            if (popup)
            {
                host.MoveTo(50, 50);
                host.Button(1, true);
            }
            else
            {
                host.RequestClose(w);
            }
        }
        if (ticks == kGiveUpTicks)
        {
            gaveUp = true;
            window->Close();
        }
    }

    CX11HostWindow& host;
    bool popup;
    int32_t ticks = 0;
    bool overrideRedirect = false;
    unsigned long transientFor = 0;
    bool gaveUp = false;
};

class CTest
{
public:
    CTest(const char* plugin, const char* out) : plugin(plugin), out(out) {}

    int Run();

private:
    void Check(const std::string& what, bool ok, const std::string& detail = "")
    {
        std::printf("%s %s%s%s\n", ok ? "ok  " : "FAIL", what.c_str(), detail.empty() ? "" : ": ", detail.c_str());
        ++(ok ? passed : failed);
    }
    intptr_t Edit(CVstHost& host, int32_t opcode, void* ptr = nullptr)
    {
        return host.Dispatch(opcode, 0, 0, ptr, 0.0f);
    }
    void Idle(CVstHost& host, int32_t times)
    {
        for (int32_t i = 0; i < times; ++i)
        {
            Pause(10);
            Edit(host, effEditIdle);
        }
    }
    void Apply(CVstHost& host, const std::vector<Step>& steps)
    {
        for (const Step& step : steps)
        {
            if (step.kind == Step::Move)
                window.MoveTo(step.x, step.y);
            else
            {
                if (step.kind == Step::Press)
                    Pause(kPressGapMs);
                window.Button(1, step.kind == Step::Press);
            }
            window.Sync();
            Idle(host, kIdlesPerStep);
        }
    }
    Picture Shot()
    {
        Picture picture;
        const std::vector<unsigned long> children = window.Children();
        if (children.size() == 1)
            picture.pixels = window.Capture(children[0], picture.width, picture.height);
        return picture;
    }
    // Both sides take the same input; their pictures must be equal.
    Picture Play(const std::string& name, const std::vector<Step>& steps)
    {
        Apply(*host, steps);
        reference.Apply(steps);
        return Compare(name);
    }
    Picture Compare(const std::string& name)
    {
        const Picture seen = Shot();
        const Picture expected = reference.Shot();
        size_t differing = 0;
        for (size_t i = 0; i < seen.pixels.size() && i < expected.pixels.size(); ++i)
            differing += seen.pixels[i] != expected.pixels[i];
        const bool same =
            !seen.pixels.empty() && seen.width == expected.width && seen.height == expected.height && differing == 0;
        WritePicture(seen, out + "/x11-" + name + ".png");
        if (!same)
            WritePicture(expected, out + "/reference-" + name + ".png");
        Check("the X window shows the software picture " + name, same,
              std::to_string(seen.width) + " x " + std::to_string(seen.height) + ", " + std::to_string(differing) +
                  " pixels differ");
        return seen;
    }
    void RenderWithEditor();
    void HostDestroysItsWindow();
    void ToolkitLoops();

    std::string plugin;
    std::string out;
    CX11HostWindow window;
    std::unique_ptr<CVstHost> host;
    CReference reference;
    int32_t passed = 0;
    int32_t failed = 0;
};

// The same notes rendered by an instance without editor and by one whose
// editor is open, idled between the blocks and clicked through its pages:
// sample for sample equal. The quiet one first takes the other's state (the
// edits made so far) as a host's chunk.
void CTest::RenderWithEditor()
{
    CVstHost quiet;
    if (!quiet.Load(plugin))
        return Check("a second instance loads", false, quiet.Error());
    quiet.SetChunk(host->GetChunk(false), false);
    Check("the quiet instance took the edited state",
          quiet.GetProgram() == host->GetProgram() && quiet.GetChunk(false) == host->GetChunk(false));
    std::vector<float> renders[2];
    CVstHost* hosts[2] = {&quiet, host.get()};
    for (int32_t which = 0; which < 2; ++which)
    {
        CVstHost& h = *hosts[which];
        h.SetSampleRate(44100.0f);
        h.SetBlockSize(kBlockFrames);
        h.Resume();
        std::vector<float> left(kBlockFrames);
        std::vector<float> right(kBlockFrames);
        float* outputs[2] = {left.data(), right.data()};
        for (int32_t block = 0; block < kRenderBlocks; ++block)
        {
            if (block % 40 == 0)
                h.QueueMidi(block % 256, 0x90, static_cast<uint8_t>(48 + block / 10), 100);
            if (block % 40 == 30)
                h.QueueMidi(17, 0x80, static_cast<uint8_t>(48 + (block - 30) / 10), 0);
            h.Process(outputs, kBlockFrames);
            renders[which].insert(renders[which].end(), left.begin(), left.end());
            renders[which].insert(renders[which].end(), right.begin(), right.end());
            if (which == 1)
            {
                Edit(h, effEditIdle);
                if (block % 40 == 20)
                    Apply(h, block % 80 == 20 ? kTitle : kHover);
            }
        }
    }
    size_t differing = 0;
    float peak = 0.0f;
    for (size_t i = 0; i < renders[0].size(); ++i)
    {
        differing += std::memcmp(&renders[0][i], &renders[1][i], sizeof(float)) != 0;
        peak = std::max(peak, renders[0][i] < 0 ? -renders[0][i] : renders[0][i]);
    }
    Check("notes rendered with the editor open and used are unchanged", differing == 0 && peak > 0.0f,
          std::to_string(differing) + " of " + std::to_string(renders[0].size()) + " samples differ, peak " +
              std::to_string(peak));
}

// A host that destroys its window (and ours with it) before closing the
// editor: idles and the close afterwards must neither fail nor stop the host.
void CTest::HostDestroysItsWindow()
{
    CVstHost other;
    CX11HostWindow doomed;
    if (!other.Load(plugin) || !doomed.Open(100, 480, 850, 400))
        return Check("a second instance opens an editor", false);
    Check("the second instance's editor opens", Edit(other, effEditOpen, doomed.Handle()) == 1);
    Idle(other, 3);
    doomed.DestroyWindow();
    Idle(other, 3);
    Check("closing after the host destroyed its window answers 0", Edit(other, effEditClose) == 0);
    Idle(other, 2);
    Check("the editor opens again as a window of its own", Edit(other, effEditOpen) == 1);
    Idle(other, 3);
    Edit(other, effEditClose);
}

// The toolkit's popup and modal loops on the X11 window system (this
// program's own copy): a popup is an override-redirect window whose loop
// ends on a press outside it, a dialog a managed window transient for the
// host's that a close request from the window manager ends; both loops read
// that input from the server.
void CTest::ToolkitLoops()
{
    CX11HostWindow parent;
    if (!parent.Open(60, 420, 824, 376))
        return Check("a host window for the loops opens", false);
    CApp app(EditorWindowSystem());
    CWin owner(&app, nullptr, 0, "owner", 0, 0, kEditorWidth, kEditorHeight);
    Check("a toolkit window embeds in the host's",
          app.system->Embed(owner.hwnd, reinterpret_cast<uintptr_t>(parent.Handle())));
    owner.style |= kWinEmbedded;
    owner.Show(true);
    app.system->DispatchPending(CEditorHosting::kMessagesPerIdle);

    for (const bool popup : {true, false})
    {
        CWin* window = new CWin(&app, &owner, popup ? kWinNoActivate : kWinTitleBar, popup ? "popup" : "dialog", 400,
                                500, 600, 620);
        CLoopProbe* probe = new CLoopProbe(window, parent, popup);
        window->AddChild(probe);
        app.StartTimer(probe, kIdleTickMs, true);
        if (popup)
            window->RunPopup();
        else
            window->RunModal();
        const std::string kind = popup ? "popup" : "dialog";
        Check("the " + kind + "'s loop ends on input from the server", !probe->gaveUp,
              std::to_string(probe->ticks) + " ticks");
        Check(popup ? "a popup is an override-redirect window" : "a dialog is managed",
              probe->overrideRedirect == popup);
        if (!popup)
            Check("a dialog is transient for the host's window",
                  probe->transientFor == reinterpret_cast<unsigned long>(parent.Handle()));
        else
            parent.Button(1, false);
        delete window;
    }
    app.system->DispatchPending(CEditorHosting::kMessagesPerIdle);
}

int CTest::Run()
{
    if (!window.Open(kHostX, kHostY, kHostWidth, kHostHeight))
    {
        std::fprintf(stderr, "velmora-editor-test: no X server with the XTEST extension in DISPLAY\n");
        return 1;
    }
    window.MoveTo(-kHostX, -kHostY);  // the pointer starts outside the editor
    host = std::make_unique<CVstHost>();
    if (!host->Load(plugin))
    {
        std::fprintf(stderr, "velmora-editor-test: %s\n", host->Error().c_str());
        return 1;
    }
    Check("the plug-in declares an editor", (host->Flags() & effFlagsHasEditor) != 0);
    ERect* rect = nullptr;
    Check("the editor's size is known before it opens", Edit(*host, effEditGetRect, &rect) == 1 && rect &&
                                                            rect->right - rect->left == kEditorWidth &&
                                                            rect->bottom - rect->top == kEditorHeight);

    // Without an X server to show it on there is no editor, and the host is told so.
    const std::string display = std::getenv("DISPLAY");
    unsetenv("DISPLAY");
    Check("without a display the open answers 0", Edit(*host, effEditOpen, window.Handle()) == 0);
    Edit(*host, effEditIdle);
    Edit(*host, effEditClose);
    setenv("DISPLAY", display.c_str(), 1);

    Check("the editor opens", Edit(*host, effEditOpen, window.Handle()) == 1);
    Idle(*host, kIdlesPerStep);
    const std::vector<unsigned long> first = window.Children();
    Check("a second open answers 1", Edit(*host, effEditOpen, window.Handle()) == 1);
    Idle(*host, 2);
    const std::vector<unsigned long> children = window.Children();
    Check("two opens make one window inside the host's", children.size() == 1 && children == first,
          std::to_string(children.size()) + " windows");
    if (children.size() != 1)
        return 1;
    Check("the editor's window is mapped", window.IsShown(children[0]));
    const long flags = window.EmbedFlags(children[0]);
    Check("the editor carries the XEmbed info with the mapped flag", flags >= 0 && (flags & 1),
          "flags " + std::to_string(flags));

    reference.Open();
    Picture previous = Compare("opened");
    struct Scene
    {
        const char* name;
        const std::vector<Step>* steps;
    };
    const Scene scenes[] = {{"hover", &kHover},           {"knob-drag", &kKnobDrag},   {"next-program", &kNextProgram},
                            {"browser", &kBrowser},       {"editor-tab", &kEditorTab}, {"about", &kTitle},
                            {"back-from-about", &kTitle}, {"browser-again", &kBrowser}};
    for (const Scene& scene : scenes)
    {
        const Picture now = Play(scene.name, *scene.steps);
        if (scene.steps != &kHover)
            Check(std::string("the click changes the editor: ") + scene.name, now.pixels != previous.pixels);
        previous = now;
    }

    // Closing and opening again shows the page that was open.
    const Picture beforeClose = Shot();
    Check("closing answers 0", Edit(*host, effEditClose) == 0);
    window.Sync();
    Check("closing removes the window from the host's", window.Children().empty());
    Idle(*host, 2);
    Check("a close without an open answers 0", Edit(*host, effEditClose) == 0);
    Check("the editor opens again", Edit(*host, effEditOpen, window.Handle()) == 1);
    Idle(*host, kIdlesPerStep);
    reference.Close();
    reference.Open();
    const Picture reopened = Compare("reopened");
    Check("the reopened editor shows the page it was closed on", reopened.pixels == beforeClose.pixels);

    RenderWithEditor();
    HostDestroysItsWindow();
    ToolkitLoops();

    // A host that releases the plug-in with the editor open.
    host.reset();
    window.Sync();
    Check("releasing the plug-in with the editor open removes its window", window.Children().empty());

    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
}

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: velmora-editor-test PLUGIN OUTDIR\n");
        return 2;
    }
    CTest test(argv[1], argv[2]);
    return test.Run();
}
