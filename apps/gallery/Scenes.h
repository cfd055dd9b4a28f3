#pragma once

#include "CPictureFolder.h"

// The gallery's pictures, by family; each writes its pictures into folder.

// Shapes, the font, the theme's items, the knob frames and a painted group.
void DrawingScenes(CPictureFolder& folder);
// Windows on the in-memory screen: drag and hint windows, menus, buttons,
// edit controls, lists and trees.
void WindowScenes(CPictureFolder& folder);
// The file browser, the message box, the text prompt and the colour picker.
void DialogScenes(CPictureFolder& folder);
// The synth editor: a new instance, factory programs, effect and modulation
// pages with a knob held, the program browser and the about page.
void EditorScenes(CPictureFolder& folder);
