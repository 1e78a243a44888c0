#include "widgets/captionlabel.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>

namespace quintaraz {

namespace {

/** Pieces kept at most: the words and the numbers of a few hundred captions. */
constexpr qsizetype mostPieces = 512;

} // namespace

CaptionLabel::CaptionLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setAutoFillBackground(true);
}

void CaptionLabel::paintEvent(QPaintEvent* event)
{
    if (text().contains(u'\n') || wordWrap() || margin() != 0 || indent() > 0) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    // A number is one piece, as a word is: numbers such as 11 are kerned within.
    const QString caption = text();
    QPointF at = contentsRect().topLeft();
    for (qsizetype start = 0, end = 0; start < caption.size(); start = end) {
        const bool digits = caption[start].isDigit();
        for (end = start + 1; end < caption.size() && caption[end].isDigit() == digits;)
            ++end;
        const Piece& run = piece(caption.mid(start, end - start));
        painter.drawStaticText(at, run.text);
        at.rx() += run.advance;
    }
}

void CaptionLabel::changeEvent(QEvent* event)
{
    // Pieces are laid out in one font.
    if (event->type() == QEvent::FontChange)
        pieces_.clear();
    QLabel::changeEvent(event);
}

const CaptionLabel::Piece& CaptionLabel::piece(const QString& run)
{
    auto found = pieces_.constFind(run);
    if (found != pieces_.constEnd())
        return *found;
    if (pieces_.size() >= mostPieces)
        pieces_.clear();
    QStaticText text(run);
    text.setTextFormat(Qt::PlainText);
    text.prepare(QTransform(), font());
    return *pieces_.insert(run, {text, QFontMetricsF(font()).horizontalAdvance(run)});
}

} // namespace quintaraz
