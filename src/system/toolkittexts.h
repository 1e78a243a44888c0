#pragma once

class QCoreApplication;

namespace quintaraz {

/** The toolkit's own words (its dialogs, option errors, "Uso:") in Spanish, as ours. */
void installSpanishToolkitTexts(QCoreApplication& application);

} // namespace quintaraz
