#pragma once
// The program's own pictures, drawn in code: splash, login emblem, main window
// background and the glyphs of the command buttons.
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace Pictures
{

QPixmap splash(const QSize& size);
QPixmap loginEmblem(int side = 48);
// The program's icon: a house and a tower on a blue tile (window icon, desktop entry).
QPixmap appIcon(int side);
QPixmap mainBackground(const QSize& size);
// Glyph of a command button: "B01FYLR" … "A02MMXG", or "exit".
QIcon commandGlyph(const QString& id, int side = 32);

} // namespace Pictures
