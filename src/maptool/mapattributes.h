#pragma once

#include <QString>

namespace quintaraz {

class ToolContext;

/** The attributes line that gives maps the text view and the merge driver. */
constexpr char mapAttributesLine[] = "*.map diff=quintaraz merge=quintaraz";

/**
 * Asks git which attributes it gives the maps of the repository whose work tree is top (a
 * map in each folder that holds maps, and a name at the top) and says on standard error
 * each line that keeps the text view or the merge driver from them (a later "*.map binary",
 * a subfolder's .gitattributes) and each that keeps them in Git LFS, by file and number.
 * userAttributes is the user's attributes file. Whether git gives every map the tool; a git
 * that cannot answer is said so too.
 */
bool mapsHaveTheTool(ToolContext& tool, const QString& top, const QString& userAttributes);

} // namespace quintaraz
