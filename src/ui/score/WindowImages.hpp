#pragma once

#include <QIcon>

#include <vector>

// The score window's pictures, compiled into the library.
namespace skorvin::ui {

enum class Glyph { Save, Print, ScoreSettings, Export, Exit };

// ImageList1: nine 16x16 images. 0/1 national root selected/normal, 2/3 province,
// 4/5 city, 6/7 exam site, 8 a candidate.
std::vector<QIcon> treeImages();

// A 16x15 button glyph. The export glyph has its own picture for the disabled button.
QIcon glyph(Glyph which);

} // namespace skorvin::ui
