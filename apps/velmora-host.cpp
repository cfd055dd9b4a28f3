// velmora-host: loads a VST 2.4 instrument through the test host and
//   info PLUGIN                         prints what the plug-in declares
//   render PLUGIN OUT [--program N]     renders a fixed note sequence to OUT
//   render-each PLUGIN FOLDER           renders it on every program, each in a
//                                       fresh instance, to FOLDER/program-N.raw
//   compare A B [--tolerance X]         compares two renders sample by sample
//   editor PLUGIN [BMP]                 (Windows) opens, idles and closes the editor inside a window of ours
// Renders are 44100 Hz stereo, interleaved little-endian 32-bit floats.
#include "host/CVstHost.h"
#include "io/ByteOrder.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace
{
constexpr float kSampleRate = 44100.0f;
constexpr int32_t kBlockFrames = 256;
constexpr int32_t kBlocks = 345;  // two seconds
constexpr double kTempo = 120.0;  // beats per minute

// The sequence every render plays: notes started at the first, last and
// middle samples of blocks, the mod wheel, a pitch bend and the releases.
struct SequenceEvent
{
    int32_t block;
    int32_t offset;
    uint8_t status;
    uint8_t data1;
    uint8_t data2;
};

constexpr SequenceEvent kSequence[] = {
    {0, 100, 0x90, 60, 100}, {20, 0, 0x90, 64, 80},   {40, 255, 0x90, 67, 127}, {60, 17, 0xB0, 1, 64},
    {70, 31, 0xE0, 0, 80},   {90, 5, 0x80, 60, 0},    {90, 6, 0x80, 64, 0},     {120, 200, 0x90, 72, 90},
    {150, 64, 0x80, 67, 0},  {200, 128, 0x80, 72, 0}, {200, 129, 0xB0, 1, 0},   {201, 0, 0xE0, 0, 64},
};

int Usage()
{
    std::fprintf(stderr, "usage: velmora-host info PLUGIN\n"
                         "       velmora-host render PLUGIN OUT [--program N]\n"
                         "       velmora-host render-each PLUGIN FOLDER\n"
                         "       velmora-host compare A B [--tolerance X]\n"
                         "       velmora-host editor PLUGIN [BMP]   (Windows)\n");
    return 2;
}

bool LoadPlugin(CVstHost& host, const char* path)
{
    if (host.Load(path))
        return true;
    std::fprintf(stderr, "velmora-host: %s\n", host.Error().c_str());
    return false;
}

std::string FourCC(int32_t code)
{
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8)
    {
        const char c = static_cast<char>((static_cast<uint32_t>(code) >> shift) & 0xFF);
        text += (c >= 32 && c < 127) ? c : '?';
    }
    return text;
}

int Info(const char* path)
{
    CVstHost host;
    if (!LoadPlugin(host, path))
        return 1;
    std::printf("id %s, %d programs, %d parameters, %d inputs, %d outputs, flags 0x%x\n",
                FourCC(host.UniqueId()).c_str(), host.NumPrograms(), host.NumParams(), host.NumInputs(),
                host.NumOutputs(), static_cast<unsigned>(host.Flags()));
    std::printf("program %d \"%s\"\n", host.GetProgram(), host.GetProgramName().c_str());
    return 0;
}

bool ReadNumber(const char* text, double& value)
{
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == 0 && std::isfinite(value);
}

bool WriteSamples(const char* path, const std::vector<float>& samples)
{
    std::vector<uint8_t> bytes(samples.size() * 4);
    for (size_t i = 0; i < samples.size(); ++i)
        StoreU32LE(&bytes[i * 4], FloatBits(samples[i]));
    FILE* file = std::fopen(path, "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

bool ReadSamples(const char* path, std::vector<float>& samples)
{
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return false;
    std::vector<uint8_t> bytes;
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(file);
    if (bytes.size() % 4)
        return false;
    samples.resize(bytes.size() / 4);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = BitsToFloat(LoadU32LE(&bytes[i * 4]));
    return true;
}

// Renders the sequence on program (or the plug-in's own choice, for -1) and
// prints a summary line; 0 when the render was written and finite.
int RenderProgram(const char* path, const char* out, int32_t program)
{
    CVstHost host;
    if (!LoadPlugin(host, path))
        return 1;
    if (host.NumOutputs() < 2)
    {
        std::fprintf(stderr, "velmora-host: %s has %d outputs, 2 needed\n", path, host.NumOutputs());
        return 1;
    }
    host.SetSampleRate(kSampleRate);
    host.SetBlockSize(kBlockFrames);
    if (program >= 0)
        host.SetProgram(program);
    host.SetTempo(kTempo);
    host.SetPlaying(true);
    host.Resume();

    std::vector<std::vector<float>> channels(static_cast<size_t>(host.NumOutputs()), std::vector<float>(kBlockFrames));
    std::vector<float*> outputs;
    for (std::vector<float>& channel : channels)
        outputs.push_back(channel.data());
    std::vector<float> samples;
    samples.reserve(static_cast<size_t>(kBlocks) * kBlockFrames * 2);
    double peak = 0.0;
    double energy = 0.0;
    bool finite = true;
    for (int32_t block = 0; block < kBlocks; ++block)
    {
        for (const SequenceEvent& event : kSequence)
            if (event.block == block)
                host.QueueMidi(event.offset, event.status, event.data1, event.data2);
        host.Process(outputs.data(), kBlockFrames);
        for (int32_t i = 0; i < kBlockFrames; ++i)
            for (int c = 0; c < 2; ++c)
            {
                const float value = channels[static_cast<size_t>(c)][static_cast<size_t>(i)];
                finite = finite && std::isfinite(value);
                peak = std::fmax(peak, std::fabs(value));
                energy += static_cast<double>(value) * value;
                samples.push_back(value);
            }
    }
    if (!WriteSamples(out, samples))
    {
        std::fprintf(stderr, "velmora-host: cannot write %s\n", out);
        return 1;
    }
    std::printf("%zu frames, peak %.6f, rms %.6f, %s\n", samples.size() / 2, peak,
                std::sqrt(energy / static_cast<double>(samples.size())), finite ? "finite" : "NOT FINITE");
    return finite ? 0 : 1;
}

int Render(const char* path, const char* out, int argc, char** argv)
{
    int32_t program = -1;
    for (int i = 0; i < argc; ++i)
    {
        double value = 0.0;
        if (std::strcmp(argv[i], "--program") == 0 && i + 1 < argc && ReadNumber(argv[i + 1], value))
            program = static_cast<int32_t>(value), ++i;
        else
            return Usage();
    }
    return RenderProgram(path, out, program);
}

int RenderEach(const char* path, const std::string& folder)
{
    CVstHost host;
    if (!LoadPlugin(host, path))
        return 1;
    const int32_t count = host.NumPrograms();
    int failed = 0;
    for (int32_t program = 0; program < count; ++program)
    {
        std::printf("program %d: ", program);
        std::fflush(stdout);
        const std::string out = folder + "/program-" + std::to_string(program) + ".raw";
        failed += RenderProgram(path, out.c_str(), program) == 0 ? 0 : 1;
    }
    return failed == 0 ? 0 : 1;
}

int Compare(const char* first, const char* second, int argc, char** argv)
{
    double tolerance = 0.0;
    for (int i = 0; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "--tolerance") == 0 && i + 1 < argc && ReadNumber(argv[i + 1], tolerance))
            ++i;
        else
            return Usage();
    }
    std::vector<float> a;
    std::vector<float> b;
    if (!ReadSamples(first, a) || !ReadSamples(second, b))
    {
        std::fprintf(stderr, "velmora-host: cannot read %s or %s as a render\n", first, second);
        return 1;
    }
    if (a.size() != b.size())
    {
        std::fprintf(stderr, "velmora-host: %zu samples against %zu\n", a.size(), b.size());
        return 1;
    }
    double largest = 0.0;
    size_t differing = 0;
    for (size_t i = 0; i < a.size(); ++i)
    {
        if (FloatBits(a[i]) != FloatBits(b[i]))
            ++differing;
        const double difference = std::fabs(static_cast<double>(a[i]) - b[i]);
        if (!(difference <= largest))
            largest = difference;
    }
    std::printf("%zu samples, %zu differ, largest difference %.3g (tolerance %.3g)\n", a.size(), differing, largest,
                tolerance);
    return largest <= tolerance ? 0 : 1;
}

#if defined(_WIN32)
constexpr int32_t kEditorWidth = 824;
constexpr int32_t kEditorHeight = 376;
constexpr DWORD kIdleMs = 20;

// Delivers our window's messages and the plug-in's for a while, sending the
// editor idle request every kIdleMs, as a host's user-interface loop does.
void Pump(CVstHost& host, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds)
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        host.Dispatch(effEditIdle, 0, 0, nullptr, 0.0f);
        Sleep(kIdleMs);
    }
}

// The toolkit windows directly inside parent.
std::vector<HWND> EditorWindows(HWND parent)
{
    std::vector<HWND> found;
    for (HWND w = FindWindowExA(parent, nullptr, "pluginwinclass", nullptr); w;
         w = FindWindowExA(parent, w, "pluginwinclass", nullptr))
        found.push_back(w);
    return found;
}

// Writes what the screen shows of window as a 24-bit BMP file, for a person
// to look at. False when it cannot be read or written.
bool SaveScreenshot(HWND window, const char* path)
{
    RECT client{};
    GetClientRect(window, &client);
    const int32_t width = client.right;
    const int32_t height = client.bottom;
    if (width <= 0 || height <= 0)
        return false;
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool saved = false;
    if (bitmap)
    {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
        GdiFlush();
        const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
        const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(height);
        uint8_t head[54] = {'B', 'M'};
        StoreU32LE(head + 2, 54 + imageBytes);
        StoreU32LE(head + 10, 54);
        StoreU32LE(head + 14, 40);
        StoreU32LE(head + 18, static_cast<uint32_t>(width));
        StoreU32LE(head + 22, static_cast<uint32_t>(height));
        head[26] = 1;
        head[28] = 24;
        StoreU32LE(head + 34, imageBytes);
        if (FILE* file = std::fopen(path, "wb"))
        {
            saved = std::fwrite(head, 1, sizeof head, file) == sizeof head &&
                    std::fwrite(bits, 1, imageBytes, file) == imageBytes;
            saved = std::fclose(file) == 0 && saved;
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return saved;
}

// editor PLUGIN [SCREENSHOT]: the editor inside a window of ours, as a
// Windows host shows it; SCREENSHOT receives a BMP of it after some input.
int Editor(const char* path, const char* screenshot)
{
    CVstHost host;
    if (!LoadPlugin(host, path))
        return 1;
    int failed = 0;
    int passed = 0;
    auto check = [&](const char* what, bool ok)
    {
        std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
        ++(ok ? passed : failed);
    };
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = "velmorahostwindow";
    RegisterClassA(&wc);
    HWND parent = CreateWindowExA(0, wc.lpszClassName, "velmora-host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 30,
                                  900, 460, nullptr, nullptr, wc.hInstance, nullptr);
    if (!parent)
    {
        std::fprintf(stderr, "velmora-host: cannot create a window\n");
        return 1;
    }
    ShowWindow(parent, SW_SHOW);
    check("the plug-in declares an editor", (host.Flags() & effFlagsHasEditor) != 0);
    ERect* rect = nullptr;
    check("the editor's size is known before it opens", host.Dispatch(effEditGetRect, 0, 0, &rect, 0.0f) == 1 && rect &&
                                                            rect->right - rect->left == kEditorWidth &&
                                                            rect->bottom - rect->top == kEditorHeight);
    check("the editor opens", host.Dispatch(effEditOpen, 0, 0, parent, 0.0f) == 1);
    check("a second open answers 1", host.Dispatch(effEditOpen, 0, 0, parent, 0.0f) == 1);
    Pump(host, 500);
    const std::vector<HWND> editors = EditorWindows(parent);
    check("two opens make one child window of ours", editors.size() == 1);
    if (editors.size() == 1)
    {
        HWND editor = editors[0];
        const LONG style = GetWindowLongA(editor, GWL_STYLE);
        check("the editor's window is a visible child, not a popup",
              GetParent(editor) == parent && (style & WS_CHILD) && !(style & WS_POPUP) && IsWindowVisible(editor));
        RECT client{};
        GetClientRect(editor, &client);
        check("the editor's window is 824 x 376",
              client.right - client.left == kEditorWidth && client.bottom - client.top == kEditorHeight);
        // The theme's plain fills where the layout puts them (text is left
        // out: the system's fonts differ from ours): the window's background
        // at the corners and between the panels, a panel's black body.
        struct Spot
        {
            int x, y;
            COLORREF colour;
        };
        const Spot spots[] = {{3, 3, RGB(32, 32, 32)},  {276, 100, RGB(32, 32, 32)}, {3, 372, RGB(32, 32, 32)},
                              {150, 120, RGB(0, 0, 0)}, {400, 290, RGB(0, 0, 0)},    {680, 120, RGB(0, 0, 0)}};
        HDC dc = GetDC(editor);
        bool coloursInPlace = true;
        for (const Spot& spot : spots)
        {
            const COLORREF seen = GetPixel(dc, spot.x, spot.y);
            if (seen != spot.colour)
            {
                std::printf("     at (%d, %d): %06lx, expected %06lx\n", spot.x, spot.y,
                            static_cast<unsigned long>(seen), static_cast<unsigned long>(spot.colour));
                coloursInPlace = false;
            }
        }
        ReleaseDC(editor, dc);
        check("the theme's colours sit where the layout puts them", coloursInPlace);
        // A knob of the oscillator panel turned down, as the system sends the drag.
        const std::vector<uint8_t> before = host.GetChunk(true);
        PostMessageA(editor, WM_MOUSEMOVE, 0, MAKELPARAM(108, 60));
        PostMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(108, 60));
        for (int y = 66; y <= 92; y += 13)
            PostMessageA(editor, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(108, y));
        PostMessageA(editor, WM_LBUTTONUP, 0, MAKELPARAM(108, 92));
        Pump(host, 300);
        check("the editor survives mouse input", IsWindow(editor) && EditorWindows(parent).size() == 1);
        check("the knob drag edited the current program", host.GetChunk(true) != before);
        if (screenshot)
            check("a screenshot of the editor is saved", SaveScreenshot(editor, screenshot));
    }
    check("closing answers 0", host.Dispatch(effEditClose, 0, 0, nullptr, 0.0f) == 0);
    Pump(host, 100);
    check("closing removes the editor's window", EditorWindows(parent).empty());
    check("a close without an open answers 0", host.Dispatch(effEditClose, 0, 0, nullptr, 0.0f) == 0);
    check("the editor opens again", host.Dispatch(effEditOpen, 0, 0, parent, 0.0f) == 1);
    Pump(host, 300);
    check("the reopened editor is one child window", EditorWindows(parent).size() == 1);
    // The host releases the plug-in (on return) with the editor still open.
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
#endif
}

int main(int argc, char** argv)
{
#if defined(_WIN32)
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "editor") == 0)
        return Editor(argv[2], argc == 4 ? argv[3] : nullptr);
#endif
    if (argc == 3 && std::strcmp(argv[1], "info") == 0)
        return Info(argv[2]);
    if (argc >= 4 && std::strcmp(argv[1], "render") == 0)
        return Render(argv[2], argv[3], argc - 4, argv + 4);
    if (argc == 4 && std::strcmp(argv[1], "render-each") == 0)
        return RenderEach(argv[2], argv[3]);
    if (argc >= 4 && std::strcmp(argv[1], "compare") == 0)
        return Compare(argv[2], argv[3], argc - 4, argv + 4);
    return Usage();
}
