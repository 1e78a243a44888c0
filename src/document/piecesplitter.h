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
        const std::size_t at =
            separator_.size() == 1 ? findChar(separator_.front()) : rest_.find(separator_);
        if (at == std::string_view::npos) {
            piece = rest_;
            more_ = false;
        } else {
            piece = rest_.substr(0, at);
            rest_.remove_prefix(at + separator_.size());
        }
        return true;
    }

private:
    // Pieces are short: an inline search beats a call to memchr for each of them.
    std::size_t findChar(char c) const
    {
        const char* const begin = rest_.data();
        const char* const end = begin + rest_.size();
        const char* at = begin;
        while (at != end && *at != c)
            ++at;
        return at == end ? std::string_view::npos : std::size_t(at - begin);
    }

    std::string_view rest_;
    std::string_view separator_;
    bool more_;
};

} // namespace quintaraz
