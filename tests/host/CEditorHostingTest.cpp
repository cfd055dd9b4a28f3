#include "host/CEditorHosting.h"

#include "RecordingCore.h"

#include <gtest/gtest.h>

namespace
{
// Counts its deletions.
class CountedObject : public CObject
{
public:
    explicit CountedObject(int32_t& deleted) : deleted(deleted) {}
    ~CountedObject() override { ++deleted; }

private:
    int32_t& deleted;
};

TEST(CEditorHosting, RectIsTheEditorSizeEvenBeforeOpening)
{
    CEditorHosting editor;
    EXPECT_EQ(editor.Rect().bottom, 100);
    ERect* rect = nullptr;
    EXPECT_EQ(editor.GetRect(&rect), 1);
    ASSERT_EQ(rect, &editor.Rect());
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 376);
    EXPECT_EQ(rect->right, 824);
    EXPECT_EQ(editor.GetRect(nullptr), 0);
}

TEST(CEditorHosting, SecondOpenCreatesNoSecondWindow)
{
    RecordingCore core;
    CEditorHosting editor;
    EXPECT_EQ(editor.Open(core, nullptr), 1);
    CObject* first = core.editorWindow;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(editor.Open(core, nullptr), 1);
    EXPECT_EQ(core.editorWindow, first);
    EXPECT_EQ(core.editorsCreated, 1);
}

TEST(CEditorHosting, CloseDeletesWindowAndApplicationOnce)
{
    RecordingCore core;
    CEditorHosting editor;
    int32_t deleted = 0;
    core.editorWindow = new CountedObject(deleted);
    core.editorApp = new CountedObject(deleted);
    EXPECT_EQ(editor.Close(core), 0);
    EXPECT_EQ(deleted, 2);
    EXPECT_EQ(core.editorWindow, nullptr);
    EXPECT_EQ(core.editorApp, nullptr);
    EXPECT_EQ(editor.Close(core), 0);
    EXPECT_EQ(deleted, 2);
}

TEST(CEditorHosting, ReopeningAfterCloseCreatesANewWindow)
{
    RecordingCore core;
    CEditorHosting editor;
    editor.Open(core, nullptr);
    editor.Close(core);
    editor.Open(core, nullptr);
    EXPECT_NE(core.editorWindow, nullptr);
    EXPECT_EQ(core.editorsCreated, 2);
}

TEST(CEditorHosting, IdleReachesTheCore)
{
    RecordingCore core;
    CEditorHosting editor;
    EXPECT_EQ(editor.Idle(core), 0);
    EXPECT_EQ(editor.Idle(core), 0);
    EXPECT_EQ(core.idles, 2);
}
}
