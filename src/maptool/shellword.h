#pragma once

#include <QString>

namespace quintaraz {

/**
 * A word as a POSIX shell line shows it, to be pasted as it is: bare when it holds only
 * letters, digits and "-_./%=,:+@"; in single quotes otherwise (a quote in it as '\''); in
 * bash's $'...' when it holds control characters or bytes that are not UTF-8, each as \xNN.
 */
QString shellWord(const QString& word);

} // namespace quintaraz
