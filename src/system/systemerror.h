#pragma once

#include <QString>

namespace quintaraz {

/**
 * What a system error number means, in Spanish and in lower case, to follow a colon: every
 * program of ours speaks Spanish whatever the locale ("no queda espacio en el disco").
 */
QString systemErrorText(int error);

} // namespace quintaraz
