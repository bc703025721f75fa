#pragma once

#include "UserPrompts.h"

#include <QStringList>

// Records every message instead of showing it, so a window test can check
// what the seller would have been told. Tests that also answer the colour
// dialog derive from it.
class RecordingPrompts : public UserPrompts
{
public:
    void notice(const QString &text) override { notices.append(text); }
    void error(const QString &text) override { errors.append(text); }

    QStringList notices;
    QStringList errors;
};
