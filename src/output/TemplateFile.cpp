#include "output/TemplateFile.h"

#include "platform/TextCodec.h"
#include "platform/Ui.h"

#include <QFile>
#include <QSaveFile>

namespace {

constexpr int kLowestStored = 101;
constexpr int kHighestStored = 255;

} // namespace

const std::array<int, 5>& TemplateShiftTable()
{
    static constexpr std::array<int, 5> kShifts{121, 97, 113, 104, 93};
    return kShifts;
}

bool IsBeginLine(const QByteArray& line)
{
    return line.left(6) == "#BEGIN";
}

namespace {

// Position just after the line break that ends the header, or the size of
// the file when no "#BEGIN" line exists.
qsizetype BodyStart(const QByteArray& bytes)
{
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype lf = bytes.indexOf('\n', start);
        const qsizetype end = lf < 0 ? bytes.size() : lf;
        QByteArray line = bytes.mid(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        start = lf < 0 ? bytes.size() : lf + 1;
        if (IsBeginLine(line))
            return start;
    }
    return bytes.size();
}

} // namespace

TemplateBody UnscrambleTemplateBody(const QByteArray& fileBytes)
{
    const auto& shifts = TemplateShiftTable();
    QByteArray body = fileBytes.mid(BodyStart(fileBytes));
    int n = 0;
    for (char& c : body) {
        const int code = static_cast<unsigned char>(c);
        if (code >= kLowestStored) {
            c = static_cast<char>(code - shifts[static_cast<size_t>(n % 5)]);
            ++n;
        }
    }
    return {true, TextFromBytes(body), {}};
}

TemplateBody ReadTemplateBody(const QString& path)
{
    QFile file(path);
    if (!QFile::exists(path))
        return {false, {}, QStringLiteral("File not found: ") + path};
    if (!file.open(QIODevice::ReadOnly))
        return {false, {}, file.errorString()};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {false, {}, file.errorString()};
    return UnscrambleTemplateBody(bytes);
}

bool ScrambleTemplate(const QByteArray& plain, QByteArray* stored, QString* error)
{
    const qsizetype bodyStart = BodyStart(plain);
    QByteArray out;
    out.reserve(plain.size() * 2);
    // The header keeps its lines, each ended by CR LF.
    qsizetype start = 0;
    while (start < bodyStart) {
        const qsizetype lf = plain.indexOf('\n', start);
        const qsizetype end = (lf < 0 || lf >= bodyStart) ? bodyStart : lf;
        QByteArray line = plain.mid(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        out += line;
        out += "\r\n";
        start = end + 1;
    }
    const QString body = TextFromBytes(plain.mid(bodyStart));
    const auto& shifts = TemplateShiftTable();
    int i = 0;
    auto put = [&](int code) {
        const int shifted = code + shifts[static_cast<size_t>(i % 5)];
        if (shifted < kLowestStored || shifted > kHighestStored) {
            *error = QStringLiteral("character code %1 at body position %2 cannot be stored")
                         .arg(code)
                         .arg(i);
            return false;
        }
        out += static_cast<char>(shifted);
        ++i;
        return true;
    };
    for (qsizetype k = 0; k < body.size(); ++k) {
        const int code = body[k].unicode();
        // Templates edited with bare LF line ends keep working.
        if (code == '\n' && (k == 0 || body[k - 1] != QLatin1Char('\r'))) {
            if (!put('\r'))
                return false;
        }
        if (!put(code))
            return false;
    }
    out += "\r\n";
    *stored = out;
    return true;
}

bool ConvertTemplate(Ui& ui, const QString& path, const QString& targetPath)
{
    const QString target = targetPath.isEmpty() ? path : targetPath;
    QString error;
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        error = in.errorString();
    } else {
        const QByteArray plain = in.readAll();
        in.close();
        QByteArray stored;
        if (ScrambleTemplate(plain, &stored, &error)) {
            QSaveFile out(target);
            if (out.open(QIODevice::WriteOnly) && out.write(stored) == stored.size() &&
                out.commit())
                return true;
            error = out.errorString();
        }
    }
    ui.MessageBox(QStringLiteral("Error encrypting template: ") + error, MessageIcon::Exclamation);
    return false;
}
