#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace quintaraz {

/**
 * An attribute of an element: its name as the program writes it, its value any text. One of
 * no value is written bare, as HTML's boolean attributes are ("hidden"; "alt" is alt="").
 */
struct HtmlAttribute {
    const char* name;
    QString value;
};
using HtmlAttributes = QList<HtmlAttribute>;

/** A column's header cell; sortBy names how the site's script sorts by it ("texto", "numero"). */
struct TableHeader {
    QString text;
    const char* sortBy = nullptr;
};

/**
 * One HTML5 page of a site of ours, written element by element. Tag and attribute names are
 * the program's own literals; every text and every attribute's value goes through htmlText,
 * so nothing a file's name holds can become markup: there is no way to write markup from a
 * string. The head says lang="es", UTF-8 and the viewport of phones, and links the site's
 * stylesheet, icon and script, relative to the site's root: the site works from a disk, a CI
 * artifact or any static host. Its content security policy lets the page load nothing but
 * the site's own files and run no script but the site's own: were a name ever to become
 * markup after all, it would still run nothing.
 */
class HtmlWriter {
public:
    /** The files the site's pages share, from its root. */
    static constexpr const char* stylesheet = "estilo.css";
    static constexpr const char* script = "galeria.js";
    static constexpr const char* icon = "icono.png";

    /**
     * A page titled title, root the way from it to the site's root ("" or "../"), with the
     * site's script or without it.
     */
    HtmlWriter(const QString& title, const QString& root, bool withScript = false);

    /** Opens an element, closed by the close() that matches it. */
    void open(const char* tag, HtmlAttributes attributes = {});
    void close();
    /** An element that holds only text. */
    void element(const char* tag, const QString& text, HtmlAttributes attributes = {});
    /** An element that holds nothing: img, br, meta, link. */
    void empty(const char* tag, HtmlAttributes attributes);
    void text(const QString& text);

    /**
     * A table with its caption and a header row, in a box of its own that scrolls sideways on
     * a narrow screen where the page does not (reachable by keyboard, so that it scrolls
     * without a mouse); its body is open for rows until closeTable().
     */
    void openTable(const QString& caption, const QList<TableHeader>& headers,
                   const QString& id = {});
    void closeTable();

    /** A file of the site, from its root, as a link from this page. */
    QString link(const QString& sitePath) const;

    /** The page, every element closed, as UTF-8. */
    QByteArray finished();

private:
    void start(const char* tag, HtmlAttributes attributes);

    QString page_;
    QList<const char*> opened_;
    QString root_;
};

} // namespace quintaraz
