#pragma once
class QLineEdit;

// Makes the box a password box that shows every typed character as "*" (the
// style's own mask character is a dot on most desktops).
void makePasswordBox(QLineEdit* box);
