#pragma once

#include <functional>

class QLineEdit;

// The longest text a one-line field takes.
constexpr int OneLineMaxLength = 32767;

// Makes `edit` a one-line field: line breaks that come into it, pasted or
// dropped, are dropped before anything reads its text (a "300" copied from
// a spreadsheet brings one along), and a change that would make it longer
// than OneLineMaxLength is refused whole, `refused` told once the change is
// over, rather than cut short without a word.
void keepOneLine(QLineEdit *edit, std::function<void()> refused);
