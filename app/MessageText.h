#ifndef LIFEBOAT_MESSAGETEXT_H
#define LIFEBOAT_MESSAGETEXT_H

#include <memory>
#include <string>
#include <vector>

#include "gui/widgets/StaticText.h"

namespace OKU {
class Font;
}

// The message of the emergency page, which can be anything from a word to a
// whole log. It is wrapped to the widget's width in the largest of its fonts
// that lets it fit the height it may take; when even the smallest is too
// large, its beginning is shown, ended with an ellipsis. So the message never
// spills over its neighbours and never loses its first lines.
class MessageText : public OKU::StaticText {
public:
    // fonts run from the preferred size down to the smallest readable one.
    MessageText(OKU::Widget* parent, const std::wstring& message,
                const std::vector<std::shared_ptr<const OKU::Font>>& fonts);

    // Chooses font and shown text for a box width pixels wide and at most
    // maxHeight high; the height they take becomes the minimum height. True
    // when that height changed, so that the page must be laid out again.
    bool fitInto(int width, int maxHeight);

    // What is drawn: the message, or its beginning with an ellipsis.
    const std::wstring& getShownText() const { return m_shownText; }
    const std::shared_ptr<const OKU::Font>& getShownFont() const { return m_fonts[m_fontIndex]; }

    void draw(OKU::Painter& p) override;
    // Any width will do: the message wraps.
    int getAutoMinWidth() const override { return 0; }
    int getAutoMinHeight() const override { return m_fittedHeight; }

private:
    int heightAt(const OKU::Font& font, const std::wstring& text, int width) const;
    // The longest beginning of the message that, with an ellipsis, fits.
    std::wstring elided(const OKU::Font& font, int width, int maxHeight) const;

    std::vector<std::shared_ptr<const OKU::Font>> m_fonts;
    std::wstring m_message;
    std::wstring m_shownText;
    size_t m_fontIndex = 0;
    int m_fittedHeight;
};

#endif
