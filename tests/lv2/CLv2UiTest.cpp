// The bundle's X11 editor as a host drives it, on the display in DISPLAY:
// through its descriptor, embedded in a host window, idled, told of port
// changes and dragged with real pointer input; with the plug-in instance at
// hand and through the ports alone.
#include "Lv2TestHost.h"
#include "host/CX11HostWindow.h"

#include <lv2/instance-access/instance-access.h>
#include <lv2/ui/ui.h>

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

namespace
{
int32_t gBadWrites = 0;  // in another format or size, or to no port

// The host side of the UI's port writes: they land on the instance's ports.
void Write(LV2UI_Controller controller, uint32_t port, uint32_t size, uint32_t format, const void* buffer)
{
    auto& values = *static_cast<std::vector<float>*>(controller);
    if (format != 0 || size != sizeof(float) || port >= values.size())
        ++gBadWrites;
    else
        values[port] = *static_cast<const float*>(buffer);
}

int Resize(LV2UI_Feature_Handle handle, int width, int height)
{
    *static_cast<std::pair<int, int>*>(handle) = {width, height};
    return 0;
}
}  // namespace

TEST(CLv2Ui, OpensInTheHostWindowFollowsPortsAndWritesKnobEdits)
{
    void* library = dlopen(VELMORA_LV2_BUNDLE "/velmora.so", RTLD_NOW);
    ASSERT_NE(library, nullptr) << dlerror();
    const auto descriptor = reinterpret_cast<const LV2UI_Descriptor* (*)(uint32_t)>(dlsym(library, "lv2ui_descriptor"));
    ASSERT_NE(descriptor, nullptr);
    const LV2UI_Descriptor* ui = descriptor(0);
    const auto* idle = static_cast<const LV2UI_Idle_Interface*>(ui->extension_data(LV2_UI__idleInterface));
    ASSERT_NE(idle, nullptr);

    for (const bool withInstance : {false, true})
    {
        SCOPED_TRACE(withInstance ? "with the instance" : "through the ports alone");
        CLv2TestHost plugin;
        ASSERT_TRUE(plugin.Ok());
        std::vector<float>& values = plugin.Controls();
        CX11HostWindow window;
        ASSERT_TRUE(window.Open(0, 0, 900, 420)) << "no X server with XTEST in DISPLAY";
        std::pair<int, int> size;
        LV2UI_Resize resize = {&size, Resize};
        const LV2_Feature parent = {LV2_UI__parent, window.Handle()};
        const LV2_Feature resizing = {LV2_UI__resize, &resize};
        const LV2_Feature instance = {LV2_INSTANCE_ACCESS_URI, plugin.Handle()};
        const LV2_Feature* const features[] = {&parent, &resizing, withInstance ? &instance : nullptr, nullptr};
        LV2UI_Widget widget = nullptr;
        LV2UI_Handle handle =
            ui->instantiate(ui, "urn:velmora:synth", VELMORA_LV2_BUNDLE, Write, &values, &widget, features);
        ASSERT_NE(handle, nullptr);
        // A host's idle ticks, 10 ms apart: time for input to arrive and be drawn.
        const auto tick = [&](int32_t times)
        {
            window.Sync();
            for (int32_t i = 0; i < times; ++i, usleep(10000))
                EXPECT_EQ(idle->idle(handle), 0);
        };
        int32_t width = 0, height = 0;
        const auto shot = [&] { return window.Capture(reinterpret_cast<unsigned long>(widget), width, height); };
        // What a host sends a new UI: every port's value.
        for (uint32_t i = 0; i < values.size(); ++i)
            ui->port_event(handle, i, sizeof(float), 0, &values[i]);
        tick(6);
        EXPECT_EQ(size, std::make_pair(824, 376));
        ASSERT_EQ(window.Children(), std::vector<unsigned long>{reinterpret_cast<unsigned long>(widget)});
        const std::vector<uint32_t> before = shot();
        EXPECT_EQ(std::make_pair(width, height), std::make_pair(824, 376));

        // The host sets the knob's port: the instance takes it at its next
        // run, the UI from the port event.
        std::vector<float> ignored;
        plugin.Run({}, ignored, 0);
        const uint32_t mod = plugin.Port("oscillators_mod1");
        values[mod] = 50.0f;
        plugin.Run({}, ignored, 0);
        ui->port_event(handle, mod, sizeof(float), 0, &values[mod]);
        tick(6);
        EXPECT_TRUE(shot() != before) << "the picture did not change";

        // The knob (in the oscillator panel) dragged down: its port alone is
        // written, lower.
        std::vector<float> expected = values;
        window.MoveTo(108, 60);
        window.Button(1, true);
        for (const int32_t y : {66, 78, 92})
        {
            tick(2);
            window.MoveTo(108, y);
        }
        window.Button(1, false);
        tick(6);
        EXPECT_LT(values[mod], 50.0f);
        EXPECT_GE(values[mod], 0.0f);
        expected[mod] = values[mod];
        EXPECT_EQ(values, expected);
        EXPECT_EQ(gBadWrites, 0);

        ui->cleanup(handle);
        window.Sync();
        EXPECT_TRUE(window.Children().empty());
    }
    dlclose(library);
}
