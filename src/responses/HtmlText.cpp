#include "responses/HtmlText.h"

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <limits>

namespace {

bool NameIs(const xmlNode* node, const char* name)
{
    return node->name && xmlStrcasecmp(node->name, reinterpret_cast<const xmlChar*>(name)) == 0;
}

bool IsHidden(const xmlNode* node)
{
    return NameIs(node, "script") || NameIs(node, "style") || NameIs(node, "head") ||
           NameIs(node, "title") || NameIs(node, "noscript") || NameIs(node, "template");
}

bool IsBlock(const xmlNode* node)
{
    static const char* const kBlocks[] = {
        "address", "article",  "aside",  "blockquote", "center", "dd",    "div",  "dl",
        "dt",      "fieldset", "figure", "footer",     "form",   "h1",    "h2",   "h3",
        "h4",      "h5",       "h6",     "header",     "hr",     "li",    "main", "nav",
        "ol",      "p",        "pre",    "section",    "table",  "tbody", "td",   "tfoot",
        "th",      "thead",    "tr",     "ul",         "body",   "html",
    };
    for (const char* name : kBlocks) {
        if (NameIs(node, name))
            return true;
    }
    return false;
}

class TextCollector {
public:
    QByteArray text;

    void Walk(const xmlNode* node, bool pre)
    {
        for (; node; node = node->next) {
            if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
                Text(reinterpret_cast<const char*>(node->content), pre);
            } else if (node->type == XML_ELEMENT_NODE) {
                if (IsHidden(node))
                    continue;
                if (NameIs(node, "br")) {
                    Break();
                    continue;
                }
                const bool block = IsBlock(node);
                if (block)
                    Break();
                Walk(node->children, pre || NameIs(node, "pre"));
                if (block)
                    Break();
            }
        }
    }

private:
    void Break()
    {
        if (!text.isEmpty() && !text.endsWith('\n'))
            text.append('\n');
        m_blank = false;
    }

    void Text(const char* content, bool pre)
    {
        if (!content)
            return;
        for (const char* p = content; *p; ++p) {
            const char c = *p;
            // A no-break space shows as a blank.
            if (c == '\xC2' && p[1] == '\xA0') {
                ++p;
                Blank(false, pre);
            } else if (c == ' ' || c == '\t' || c == '\f') {
                Blank(false, pre);
            } else if (c == '\n' || c == '\r') {
                if (c == '\r' && p[1] == '\n')
                    ++p;
                Blank(true, pre);
            } else {
                if (m_blank && !text.isEmpty() && !text.endsWith('\n'))
                    text.append(' ');
                m_blank = false;
                text.append(c);
            }
        }
    }

    void Blank(bool lineBreak, bool pre)
    {
        if (pre) {
            text.append(lineBreak ? '\n' : ' ');
        } else if (lineBreak) {
            Break();
        } else {
            m_blank = true;
        }
    }

    bool m_blank = false;
};

bool IsCell(const xmlNode* node)
{
    return node->type == XML_ELEMENT_NODE && (NameIs(node, "td") || NameIs(node, "th"));
}

QByteArray CellText(const xmlNode* cell)
{
    TextCollector collector;
    collector.Walk(cell->children, false);
    return collector.text.trimmed();
}

void CollectRows(const xmlNode* node, QList<HtmlTableRow>& rows)
{
    for (; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE || IsHidden(node))
            continue;
        if (NameIs(node, "tr")) {
            QList<const xmlNode*> cells;
            for (const xmlNode* child = node->children; child; child = child->next)
                if (IsCell(child))
                    cells.append(child);
            if (cells.size() == 2) {
                QByteArray label = CellText(cells[0]);
                if (label.endsWith(':'))
                    label = label.chopped(1).trimmed();
                if (!label.isEmpty())
                    rows.append({label, CellText(cells[1])});
            }
        }
        CollectRows(node->children, rows);
    }
}

} // namespace

QByteArray HtmlToText(const QByteArray& html, QList<HtmlTableRow>* rows)
{
    // libxml2 takes an int length; a part that large is no mail to read.
    if (html.isEmpty() || html.size() > std::numeric_limits<int>::max())
        return {};
    const int options =
        HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET;
    htmlDocPtr doc =
        htmlReadMemory(html.constData(), static_cast<int>(html.size()), nullptr, "UTF-8", options);
    if (!doc)
        return {};
    TextCollector collector;
    collector.Walk(xmlDocGetRootElement(doc) ? doc->children : nullptr, false);
    if (rows)
        CollectRows(doc->children, *rows);
    xmlFreeDoc(doc);
    if (!collector.text.isEmpty() && !collector.text.endsWith('\n'))
        collector.text.append('\n');
    return collector.text;
}
