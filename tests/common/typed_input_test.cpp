// What the operator's typing becomes: a number only when it is one an amount holds exactly, and
// text without what a paste brings that no key types.
#include "common/typed_input.h"

#include <gtest/gtest.h>

using namespace sorrel;

TEST(TypedInput, NumbersAreTakenOnlyAsAnOperatorTypesThem) {
    const struct {
        const char* typed;
        bool taken;
        double value;
    } cases[] = {{" 12.5 ", true, 12.5},
                 {"-3", true, -3},
                 {".5", true, 0.5},
                 {"999999999999999", true, 999999999999999.0},
                 {"9999999999999999", false, 0},
                 {"1e308", false, 0},
                 {"-1e308", false, 0},
                 {"NaN", false, 0},
                 {"inf", false, 0},
                 {"0x10", false, 0},
                 {"12,5", false, 0}};
    for (const auto& c : cases) {
        if (c.taken) {
            EXPECT_EQ(parseTypedNumber(QString::fromLatin1(c.typed)), c.value) << c.typed;
        } else {
            EXPECT_THROW(parseTypedNumber(QString::fromLatin1(c.typed)), InvalidInput) << c.typed;
        }
    }
}

TEST(TypedInput, AMistypedNumberWithControlCharactersIsStillAnsweredAsMistyped) {
    try {
        parseTypedNumber(QStringLiteral("a") + QChar(0) + QStringLiteral("b"));
        FAIL() << "taken";
    } catch (const InvalidInput& e) {
        EXPECT_EQ(classifyErrorText(QString::fromUtf8(e.what())), InputErrorKind::InvalidNumber);
    }
}

TEST(TypedInput, PlainTextLosesControlCharactersAndHalfCharacters) {
    const QString emoji = QStringLiteral("😀");
    EXPECT_EQ(plainTypedText(QStringLiteral("a\tb\r\nc") + QChar(0) + QStringLiteral("\x1b[2J")),
              QStringLiteral("a b  c[2J"));
    EXPECT_EQ(plainTypedText(QStringLiteral("長") + emoji + emoji.left(1)), QStringLiteral("長") + emoji);
    EXPECT_EQ(plainTypedText(emoji.right(1) + QStringLiteral("x")), QStringLiteral("x"));
}
