#pragma once
// Login check on the data module, and the workstation's name and address.
#include <QString>

// Checks the operator against 操作员档案 with dmbasic's QryPUB and fills CurUser
// on success. Number and password are already trimmed.
bool loginCheck(const QString& number, const QString& password);

// The computer name; empty when it cannot be read.
QString computerName();
// The first IPv4 address of this computer's host name, dotted decimal; empty
// when the name cannot be resolved to one.
QString firstIPv4Address();
