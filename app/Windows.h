#pragma once
// The function windows of the main window's commands. Each returns a new window
// (the caller shows it modally and destroys it), or null while that window does
// not exist in this build; the main window keeps such a command disabled.
#include <QString>

class QDialog;
class QWidget;

QDialog* createFunctionWindow(const QString& commandId, QWidget* parent);
bool hasFunctionWindow(const QString& commandId);

// Connects the windows of features that the register windows open without
// including them: 成交登记 on the record cards and the match result.
void installFeatureHooks();
