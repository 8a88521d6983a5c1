#pragma once

#include <QByteArrayView>
#include <QString>
#include <memory>
#include <vector>

class RecordTables;

// The charset of one response's percent-escapes. Browsers send a hidden
// field named "_charset_" with the name of the charset they encoded the
// form in; until such a field is seen, names and values are read by the
// program's rule (UTF-8 when valid, else Windows-1252), and when it comes,
// the fields stored before it are read again in that charset. A charset
// that neither Qt nor iconv knows, or text that is not valid in it, keeps
// the program's rule.
class FormCharset {
public:
    FormCharset();
    ~FormCharset();
    FormCharset(const FormCharset&) = delete;
    FormCharset& operator=(const FormCharset&) = delete;

    // The text of a decoded name or value of the pair about to be stored.
    QString Name(QByteArrayView bytes) { return Text(bytes, m_nameWay); }
    QString Value(QByteArrayView bytes) { return Text(bytes, m_valueWay); }
    // After the pair is stored in row CurrentRow of the field table.
    void Stored(RecordTables& tables, const QString& name, const QString& value);

private:
    // How a text was made from its bytes, so they can be had back exactly.
    enum class Way { Ascii, Utf8, Windows1252 };
    struct Earlier {
        int row;
        Way name;
        Way value;
    };
    class Decoder;

    QString Text(QByteArrayView bytes, Way& way);
    void ReadAgain(RecordTables& tables);

    std::unique_ptr<Decoder> m_decoder; // the charset named, once one is
    bool m_named = false;               // a "_charset_" field was seen
    Way m_nameWay = Way::Ascii;
    Way m_valueWay = Way::Ascii;
    std::vector<Earlier> m_earlier; // the pairs before "_charset_"
};
