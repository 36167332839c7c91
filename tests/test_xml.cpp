// The markup scanner, driven through a reader that records its events.
#include <string>
#include <vector>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/common.h"

using Events = std::vector<std::string>;

TEST(XmlScanner, EachLineGivesItsEvents)
{
    const struct {
        std::string line;
        Events events;
    } rows[] = {
        {"   <s-no-op/>", {"S:s-no-op[]", "E:s-no-op"}},
        {"<s-no-op />", {"S:s-no-op[]", "E:s-no-op"}},
        // Anything after the ">" of an empty element is dropped.
        {"<s-sound file='beep'/> ignored", {"S:s-sound[file=beep]", "E:s-sound"}},
        {"<s-tb name='Bob'>Hello &amp; bye</s-tb>", {"S:s-tb[name=Bob]", "C:Hello & bye", "E:s-tb"}},
        {"<s-new-loc name='Hub'>You are in the hub.", {"S:s-new-loc[name=Hub]", "C:You are in the hub."}},
        {"<s-spynet>", {"S:s-spynet[]"}},
        {"<command></command>", {"S:command[]", "C:", "E:command"}},
        {"<a>one</b>two</c>", {"S:a[]", "C:one", "E:b"}},
        {"<a>one</b", {"S:a[]", "C:one", "E:b"}},
        {"</s-tb>", {"E:s-tb"}},
        {"  </s-examine> and more <x>", {"E:s-examine"}},
        {"<>", {"S:[]"}},
        {"< foo a='1'>", {"S:[foo a=1]"}},
        // A ">" inside a value ends the tag early; the remainder becomes text.
        {"<s-tb name='a>b'>x", {"S:s-tb[]", "C:b'>x"}},
        // Attributes of one tag never linger into the next.
        {"<a x='111'>", {"S:a[x=111]"}},
        {"<b>", {"S:b[]"}},
        {"   The hub is busy.", {"C:   The hub is busy."}},
        {"\tTabbed &gt; text", {"C:\tTabbed > text"}},
        {"Hello there</s-tb>", {"C:Hello there", "E:</s-tb"}},
        {"a > b <c", {"C:a > b ", "E:<c"}},
        {"Look at <s-contents name='x'/>", {"C:Look at ", "E:<s-contents name='x'/"}},
        {"x -> y", {"C:x -> y"}},
        {"x < y", {"C:x < y"}},
        {"  <unfinished a='1'", {"C:  <unfinished a='1'"}},
        {"", {}},
        {" \t  \t", {}},
        {"text\r", {"C:text\r"}},
        {"<s-no-op/>\r", {"S:s-no-op[]", "E:s-no-op"}},
        {"</s-tb>\r", {"E:s-tb"}},
        {"<?xml version=\"1.0\"?>", {}},
        {"<?xml", {}},
        // After a blank the declaration is a start tag; double quotes are no attribute.
        {" <?xml version=\"1.0\"?>", {"S:?xml[]"}},
        {"<t n&amp;m='&lt;&gt;&quot;'>", {"S:t[n&m=<>\"]"}},
        {"<s-contents name='a&apos;b'>", {"S:s-contents[name=a'b]"}},
        {"<s-new-loc name='A' loc-num='5' name='B'/>", {"S:s-new-loc[name=A|loc-num=5|name=B]", "E:s-new-loc"}},
        {"<t a='1'  b='2'>", {"S:t[a=1| b=2]"}},
        {"<t a=\"1\">", {"S:t[]"}},
        {"<t a=\"x\" b='y'>", {"S:t[a=x\" b=]"}},
        {"<t a='1' x=''>", {"S:t[a=1]"}},
        {"<t x=''>", {"S:t[]"}},
        {"<t x='1'>", {"S:t[x=1]"}},
        {"<t a='1' junk here>", {"S:t[a=1]"}},
        {"<t a='1' b='open>", {"S:t[a=1]"}},
        {"<t a=>", {"S:t[]"}},
        {"<t abcdef=>", {"S:t[]"}},
    };
    MarkupRecorder scanner; // one scanner for all rows, as on a connection
    for (const auto& row : rows) {
        scanner.events.clear();
        scanner.ParseText(row.line);
        EXPECT_EQ(scanner.events, row.events) << row.line;
    }
}

TEST(XmlAttributes, ValuesReadAsTextNumbersAndFlagsAndEntitiesDecodeAndEscape)
{
    // An empty value counts as absent: the number 99, the flag true.
    const struct {
        std::string value;
        int32_t number;
        bool flag;
    } rows[] = {
        {"12abc", 12, false},
        {"abc", 0, false},
        {"-42", -42, false},
        {" +7", 7, false},
        {"-2147483643", int32_t(0x80000005u), false},
        {"4294967297", 1, false},
        {"2147483648", INT32_MIN, false},
        {"-", 0, false},
        {"007", 7, false},
        {"1 2", 1, false},
        {"", 99, true},
        {"true", 0, true},
        {"TRUE", 0, false},
        {"true ", 0, false},
        {"yes", 0, false},
        {"false", 0, false},
    };
    for (const auto& row : rows) {
        const AttribList a{{"v", row.value}, {"v", "5"}};
        EXPECT_EQ(GetNumberAttribute(a, "v", 99), row.number) << row.value;
        EXPECT_EQ(GetFlagAttribute(a, "v", true), row.flag) << row.value;
        EXPECT_EQ(GetAttribute(a, "v"), row.value); // the first of the name
    }
    const AttribList a{{"name", "A"}};
    EXPECT_EQ(GetAttribute(a, "Name"), "");
    EXPECT_EQ(GetNumberAttribute(a, "missing", 30003), 30003);
    EXPECT_FALSE(GetFlagAttribute(a, "missing", false));

    // Entities: decoding looks at two characters; escaping round-trips.
    const std::pair<std::string, std::string> entities[] = {
        {"a &amp; b", "a & b"},
        {"&apos;&gt;&lt;&quot;", "'><\""},
        {"&lx;", "<"},
        {"&gone!", ">e!"},
        {"&zz", "zz"},
        {"end&", "end"},
        {"&amp;lt;", "&lt;"},
        {"&&amp;", "&"},
        {"x&am", "x&"},
        {"x&q", "x\""},
        {"&l", "<"},
        {"&a", "a"},
    };
    for (const auto& [in, out] : entities)
        EXPECT_EQ(DecodeEntities(in), out) << in;

    EXPECT_EQ(EscapeText("a&b'c<d>e\"f"), "a&amp;b&apos;c&lt;d&gt;e\"f");
    for (const std::string s : {"it's", "R&D <ok>", "&amp;", "''", "", "\x92\xe9 bytes"})
        EXPECT_EQ(DecodeEntities(EscapeText(s)), s) << s;
}

TEST(XmlFile, ReadsLinesSkippingDeclarationsAndCarriageReturns)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("in.xml");
    WriteFile(path,
        "<?xml version=\"1.0\"?>\r\n\r\n<init-file>\r\n   <macro key='1'>\r\n"
        "      <command>say a&amp;b</command>\r\nplain text\r\n<?xml in the middle\n"
        "   </macro>\n</init-file>");
    MarkupRecorder file(path.toStdString());
    EXPECT_TRUE(file.ParseFile());
    EXPECT_EQ(file.events,
        (Events{"S:init-file[]", "S:macro[key=1]", "S:command[]", "C:say a&b", "E:command", "C:plain text", "E:macro",
            "E:init-file"}));

    // A missing file, a directory and no name at all read nothing.
    for (const QString& name : {dir.filePath("nothing-here.xml"), dir.path(), QString()}) {
        MarkupRecorder none(name.toStdString());
        EXPECT_FALSE(none.ParseFile()) << name.toStdString();
        EXPECT_TRUE(none.events.empty());
    }
}
