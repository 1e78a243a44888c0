#pragma once

#include <string_view>

namespace quintaraz {

/**
 * Splits a text at a separator, piece by piece, without copying.
 *
 * A non-empty text gives one more piece than it holds separators, empty pieces
 * included ("1,," gives "1", "" and ""); an empty text gives no piece at all.
 * Separators are found left to right and do not overlap. The map reader and the
 * file-name extension check both split this way.
 */
class PieceSplitter {
public:
    PieceSplitter(std::string_view text, std::string_view separator)
        : rest_(text)
        , separator_(separator)
        , more_(!text.empty())
    {
    }

    /** Gives the next piece; false once every piece has been given. */
    bool next(std::string_view& piece)
    {
        if (!more_)
            return false;
        const char* const begin = rest_.data();
        const char* const end = begin + rest_.size();
        const char* at = separator_.size() == 1 ? findChar(begin, end, separator_.front())
                                                : findText(begin, end);
        piece = std::string_view(begin, std::size_t(at - begin));
        if (at == end) {
            more_ = false;
        } else {
            at += separator_.size();
            rest_ = std::string_view(at, std::size_t(end - at));
        }
        return true;
    }

    /** What is left to split: empty once every piece has been given. */
    std::string_view rest() const { return more_ ? rest_ : std::string_view(); }
    /** Passes over the first n bytes of rest(), which must end with a separator. */
    void skip(std::size_t n) { rest_.remove_prefix(n); }

private:
    // Pieces are short: an inline search beats a call to memchr for each of them.
    static const char* findChar(const char* at, const char* end, char c)
    {
        while (at != end && *at != c)
            ++at;
        return at;
    }

    const char* findText(const char* begin, const char* end) const
    {
        const std::size_t at = std::string_view(begin, std::size_t(end - begin)).find(separator_);
        return at == std::string_view::npos ? end : begin + at;
    }

    std::string_view rest_;
    std::string_view separator_;
    bool more_;
};

} // namespace quintaraz
