#include "Platform/Shell/CommandLine.h"

#include <gtest/gtest.h>

using ZELL::Shell::JoinCommandArguments;
using ZELL::Shell::QuoteCommandArgument;
using ZELL::Shell::SplitCommandLine;

using Arguments = std::vector<std::wstring>;

TEST(CommandLine, SplitsByThePlatformQuotingRules)
{
    EXPECT_EQ(SplitCommandLine(L"  a  b\tc ", false), (Arguments{L"a", L"b", L"c"}));
    EXPECT_EQ(SplitCommandLine(L"\"two words\" x\"y z\"w", false), (Arguments{L"two words", L"xy zw"}));
    // 2n backslashes before a quote: n of them and the quote groups;
    // 2n+1: n of them and a literal quote; others stay as they are.
    EXPECT_EQ(SplitCommandLine(LR"(a\\"b c" d\"e f\\g)", false), (Arguments{LR"(a\b c)", LR"(d"e)", LR"(f\\g)"}));
    EXPECT_EQ(SplitCommandLine(LR"("say ""hi""" "")", false), (Arguments{LR"(say "hi")", L""}));
    EXPECT_EQ(SplitCommandLine(L"\"unclosed quote", false), (Arguments{L"unclosed quote"}));
    EXPECT_TRUE(SplitCommandLine(L"   ", false).empty());
}

TEST(CommandLine, TheProgramNameKnowsNoEscapes)
{
    EXPECT_EQ(SplitCommandLine(LR"("C:\my dir\" arg)", true), (Arguments{LR"(C:\my dir\)", L"arg"}));
    EXPECT_EQ(SplitCommandLine(LR"(/bin/a\"b c)", true), (Arguments{LR"(/bin/a\"b)", L"c"}));
    EXPECT_EQ(SplitCommandLine(L"\"/opt/my app/run", true), (Arguments{L"/opt/my app/run"}));
}

TEST(CommandLine, QuotedArgumentsComeBackUnchanged)
{
    const Arguments arguments = {L"plain", L"two words", L"", L"quote\"inside", LR"(trailing\)",
                                 LR"(back\\"slash)", L"tab\there", LR"(\\server\share\)", L"\u00e4\u00f6"};
    EXPECT_EQ(SplitCommandLine(JoinCommandArguments(arguments), false), arguments);
    EXPECT_EQ(QuoteCommandArgument(L"plain"), L"plain");
    EXPECT_EQ(QuoteCommandArgument(L"a b"), L"\"a b\"");
}
