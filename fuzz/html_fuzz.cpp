// The HTML entity decoder over any text; the encoder's output is plain ASCII and decodes back.
#include "FuzzSupport.h"
#include "support/cSharedHTML.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace FuzzSupport;
    const QString text = FuzzSupport::text(data, size);

    const QString decoded = cSharedHTML::HtmlToChar(text);
    // Every entity is longer than the one or two code units it stands for.
    require(decoded.size() <= text.size(), "decoding made the text longer", text);

    const QString encoded = cSharedHTML::CharToHtml(text);
    for (const QChar c : encoded)
        require(c.unicode() < 0x80 || c.isSurrogate(), "the encoder left a character outside ASCII", text);
    // "&#0;" is deliberately no entity for the reader, so a NUL is the one thing that stays encoded.
    const QString back = cSharedHTML::HtmlToChar(encoded);
    QString expected = text;
    expected.replace(QChar(0), QStringLiteral("&#0;"));
    require(back == expected, "an encoded text does not decode back", text + " -> " + encoded + " -> " + back);
    return 0;
}
