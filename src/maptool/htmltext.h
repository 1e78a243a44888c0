#pragma once

#include <QString>

namespace quintaraz {

/**
 * Text as a page shows it, safe as an element's content and as a quoted attribute's value:
 * "&", "<", ">", '"' and "'" as character references, and what no page should carry (control
 * characters, bytes of a file name that are not UTF-8) written out as printableName writes
 * them. Every text a page of ours shows, names from files above all, goes through here.
 */
QString htmlText(const QString& text);

/**
 * A relative path as a link's URL: its bytes percent-encoded, all but ASCII letters, digits,
 * "-", ".", "_", "~" and the "/" between folders. Every link a page of ours makes goes
 * through here.
 */
QString urlPath(const QString& path);

} // namespace quintaraz
