#pragma once
/// What the controller must be able to write before it touches an order: its program folder
/// (composition.ini, the journal), the work folder and the log folder. A controller installed
/// by one user and run by another would otherwise fail every order quietly.

#include <string>

/// "cannot write <folder>: <reason>" for the first of the controller's folders that cannot be
/// written (each made first where missing: they are the program's own); empty when all can.
std::wstring FindUnwritableFolder(const std::wstring& programFolder);
