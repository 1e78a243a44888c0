#include "maptool/htmlwriter.h"

#include "maptool/htmltext.h"

#include <cstring>

namespace quintaraz {

namespace {

/** Elements after whose end the page's source takes a new line, for a person reading it. */
bool endsLine(const char* tag)
{
    for (const char* block :
         {"p",       "li", "tr",    "table", "section",  "div",  "h1",     "h2",         "h3",
          "figure",  "ul", "thead", "tbody", "header",   "main", "footer", "nav",        "pre",
          "caption", "dl", "dd",    "form",  "fieldset", "svg",  "head",   "figcaption", "legend"})
        if (std::strcmp(tag, block) == 0)
            return true;
    return false;
}

} // namespace

HtmlWriter::HtmlWriter(const QString& title, const QString& root, bool withScript)
    : root_(root)
{
    page_ = QStringLiteral("<!DOCTYPE html>\n");
    open("html", {{"lang", QStringLiteral("es")}});
    open("head");
    empty("meta", {{"charset", QStringLiteral("utf-8")}});
    empty("meta", {{"name", QStringLiteral("viewport")},
                   {"content", QStringLiteral("width=device-width, initial-scale=1")}});
    empty("meta", {{"http-equiv", QStringLiteral("Content-Security-Policy")},
                   {"content", QStringLiteral("default-src 'none'; img-src 'self'; style-src "
                                              "'self'; script-src 'self'; base-uri 'none'; "
                                              "form-action 'none'")}});
    element("title", title);
    empty("link", {{"rel", QStringLiteral("icon")}, {"href", link(QLatin1String(icon))}});
    empty("link",
          {{"rel", QStringLiteral("stylesheet")}, {"href", link(QLatin1String(stylesheet))}});
    if (withScript)
        element("script", QString(), {{"src", link(QLatin1String(script))}, {"defer", {}}});
    close();
    open("body");
}

void HtmlWriter::start(const char* tag, HtmlAttributes attributes)
{
    page_ += u'<' + QLatin1String(tag);
    for (const HtmlAttribute& attribute : attributes) {
        page_ += u' ' + QLatin1String(attribute.name);
        if (!attribute.value.isEmpty())
            page_ += QLatin1String("=\"") + htmlText(attribute.value) + u'"';
    }
    page_ += u'>';
}

void HtmlWriter::open(const char* tag, HtmlAttributes attributes)
{
    start(tag, attributes);
    opened_.append(tag);
    if (endsLine(tag))
        page_ += u'\n';
}

void HtmlWriter::close()
{
    const char* tag = opened_.takeLast();
    page_ += QLatin1String("</") + QLatin1String(tag) + u'>';
    if (endsLine(tag))
        page_ += u'\n';
}

void HtmlWriter::element(const char* tag, const QString& text, HtmlAttributes attributes)
{
    start(tag, attributes);
    page_ += htmlText(text) + QLatin1String("</") + QLatin1String(tag) + u'>';
    if (endsLine(tag) || std::strcmp(tag, "title") == 0 || std::strcmp(tag, "script") == 0)
        page_ += u'\n';
}

void HtmlWriter::empty(const char* tag, HtmlAttributes attributes)
{
    start(tag, attributes);
    if (std::strcmp(tag, "meta") == 0 || std::strcmp(tag, "link") == 0)
        page_ += u'\n';
}

void HtmlWriter::text(const QString& text)
{
    page_ += htmlText(text);
}

void HtmlWriter::openTable(const QString& caption, const QList<TableHeader>& headers,
                           const QString& id)
{
    open("div", {{"class", QStringLiteral("tabla")},
                 {"role", QStringLiteral("region")},
                 {"aria-label", caption},
                 {"tabindex", QStringLiteral("0")}});
    open("table", id.isEmpty() ? HtmlAttributes{} : HtmlAttributes{{"id", id}});
    element("caption", caption);
    open("thead");
    open("tr");
    for (const TableHeader& header : headers) {
        HtmlAttributes attributes{{"scope", QStringLiteral("col")}};
        if (header.sortBy)
            attributes.append({"data-orden", QLatin1String(header.sortBy)});
        element("th", header.text, attributes);
    }
    close();
    close();
    open("tbody");
}

void HtmlWriter::closeTable()
{
    close();
    close();
    close();
}

QString HtmlWriter::link(const QString& sitePath) const
{
    return root_ + urlPath(sitePath);
}

QByteArray HtmlWriter::finished()
{
    while (!opened_.isEmpty())
        close();
    return page_.toUtf8();
}

} // namespace quintaraz
