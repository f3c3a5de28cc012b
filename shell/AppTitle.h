#pragma once

#include <QString>

// The title of every message box: the executable's file name without its folder, cut before its first
// ".", with a capital first letter and the rest in lower case ("Tourlog" for tourlog).
QString applicationTitle(const QString& executablePath);
QString applicationTitle();

// The main window's caption: the program and the contest folder it works in, marked when the folder can
// only be read.
QString windowCaption(const QString& folder, bool readOnly);
