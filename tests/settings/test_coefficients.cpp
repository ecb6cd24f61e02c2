// The coefficient boxes' texts as the 16-bit values sent.

#include "settings/coefficients.h"

#include "settings_fixture.h"

#include <optional>

namespace {

TEST(Coefficients, TextsAsSentValues)
{
    const struct {
        const char* text;
        std::optional<int> sent; // nullopt: the box refuses the text
    } cases[] = {
        {"12.5", 12},   {"13.5", 14},      {"-2.5", -2},      {" 300 ", 300},   {"0", 0},
        {"32767", 32767}, {"-32768", -32768}, {"32767.4", 32767}, {"32768", std::nullopt},
        {"-32769", std::nullopt}, {"32767.5", std::nullopt}, {"", std::nullopt}, {"  ", std::nullopt},
        {"abc", std::nullopt}, {"1e3", 1000}, {"1,000", std::nullopt},
    };
    for (const auto& c : cases) {
        std::int16_t v = 1234;
        const bool ok = ParseCoefficient(QString::fromLatin1(c.text), &v);
        EXPECT_EQ(ok, c.sent.has_value()) << c.text;
        if (c.sent)
            EXPECT_EQ(v, *c.sent) << c.text;
        else
            EXPECT_EQ(v, 1234) << c.text << ": a refused text leaves the value alone";
    }
}

TEST(Coefficients, BoxTextOfStoredValue)
{
    EXPECT_EQ(CoefficientText(-101), QString());
    EXPECT_EQ(CoefficientText(-100), QStringLiteral("-100"));
    EXPECT_EQ(CoefficientText(0), QStringLiteral("0"));
}

} // namespace
