// The drive facts every subsystem names the same way: a drive's number from its letter and the text
// of a drive type.
#pragma once

#include <QString>

// Character code of the first character, upper-cased, minus 64 (A gives 1, Z 26).
int DriveNumber(const QString &text);
// "Disque fixe" and the like for drive types 0..6; any other value is the undefined disk type.
QString DriveTypeText(int type);
// The drive type a tree picture stands for: 2..6 and their selected forms 9..13, else 0.
int DriveTypeOfImage(int imageIndex);
