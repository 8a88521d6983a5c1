#pragma once

#include <QByteArray>
#include <QString>
#include <array>

class Ui;

// The shifts that scramble a template body: body character i is stored as
// its code plus TemplateShiftTable()[i % 5]. Every tab, line break and
// printable ASCII character lands in 101..255, and the first value plus 10
// lies above every printable code, so a stored body never looks plain.
const std::array<int, 5>& TemplateShiftTable();

// The body of a template, unscrambled, as text.
struct TemplateBody {
    bool ok = false;
    QString text;
    QString error; // the system's description when !ok
};

// True when the line (as bytes, without its line break) ends a header.
bool IsBeginLine(const QByteArray& line);

// Reads a template file and yields its body unscrambled: characters stored
// at 101 or above are shifted back, others pass unchanged.
TemplateBody ReadTemplateBody(const QString& path);
TemplateBody UnscrambleTemplateBody(const QByteArray& fileBytes);

// Converts a plain template into stored form: the header stays, the body is
// scrambled and one CR LF follows it. Bare LF line breaks in the body become
// CR LF first. The result goes to targetPath (the file itself when empty).
// On failure shows "Error encrypting template: " and the reason, and
// returns false; the original file is left as it was.
bool ConvertTemplate(Ui& ui, const QString& path, const QString& targetPath = QString());

// The conversion alone: the stored bytes for a plain file, or the reason it
// cannot be stored.
bool ScrambleTemplate(const QByteArray& plain, QByteArray* stored, QString* error);
