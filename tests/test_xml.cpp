// The markup scanner, driven through a reader that records its events.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "protocol/xml.h"

namespace {

using Events = std::vector<std::string>;

// Writes each event as one short text: "S:name[a=1|b=2]", "C:text", "E:name".
class RecordingParser : public XMLParser {
public:
    explicit RecordingParser(std::string fileName = {}) : XMLParser(std::move(fileName)) {}

    Events events;
    AttribList lastAttributes;

protected:
    void StartElement(const std::string& name, const AttribList& attributes) override
    {
        std::string e = "S:" + name + "[";
        for (std::size_t i = 0; i < attributes.size(); ++i) {
            if (i)
                e += '|';
            e += attributes[i].name + "=" + attributes[i].value;
        }
        events.push_back(e + "]");
        lastAttributes = attributes;
    }
    void EndElement(const std::string& name) override { events.push_back("E:" + name); }
    void Characters(const std::string& text) override { events.push_back("C:" + text); }
};

Events Scan(std::string_view line)
{
    RecordingParser p;
    p.ParseText(line);
    return p.events;
}

AttribList AttributesOf(std::string_view line)
{
    RecordingParser p;
    p.ParseText(line);
    return p.lastAttributes;
}

} // namespace

// --- Tags -----------------------------------------------------------------

TEST(XmlScanner, EmptyElementAfterBlanksGivesStartThenEnd)
{
    EXPECT_EQ(Scan("   <s-no-op/>"), (Events{"S:s-no-op[]", "E:s-no-op"}));
}

TEST(XmlScanner, EmptyElementWithAttributesAndTrailingText)
{
    // Anything after the ">" of an empty element is dropped.
    EXPECT_EQ(Scan("<s-sound file='beep'/> ignored"), (Events{"S:s-sound[file=beep]", "E:s-sound"}));
    EXPECT_EQ(Scan("<s-no-op />"), (Events{"S:s-no-op[]", "E:s-no-op"}));
}

TEST(XmlScanner, StartTextAndEndOnOneLine)
{
    EXPECT_EQ(Scan("<s-tb name='Bob'>Hello &amp; bye</s-tb>"),
              (Events{"S:s-tb[name=Bob]", "C:Hello & bye", "E:s-tb"}));
}

TEST(XmlScanner, StartTagWithTextButNoEndTag)
{
    EXPECT_EQ(Scan("<s-new-loc name='Hub'>You are in the hub."),
              (Events{"S:s-new-loc[name=Hub]", "C:You are in the hub."}));
}

TEST(XmlScanner, StartTagAloneGivesNoText)
{
    EXPECT_EQ(Scan("<s-spynet>"), (Events{"S:s-spynet[]"}));
}

TEST(XmlScanner, StartDirectlyFollowedByEndGivesEmptyText)
{
    EXPECT_EQ(Scan("<command></command>"), (Events{"S:command[]", "C:", "E:command"}));
}

TEST(XmlScanner, EndTagNameStopsAtItsCloserAndIgnoresTheRest)
{
    EXPECT_EQ(Scan("<a>one</b>two</c>"), (Events{"S:a[]", "C:one", "E:b"}));
    // An end tag that is never closed takes the rest of the line as its name.
    EXPECT_EQ(Scan("<a>one</b"), (Events{"S:a[]", "C:one", "E:b"}));
}

TEST(XmlScanner, EndTagLineIgnoresWhatFollows)
{
    EXPECT_EQ(Scan("</s-tb>"), (Events{"E:s-tb"}));
    EXPECT_EQ(Scan("  </s-examine> and more <x>"), (Events{"E:s-examine"}));
}

TEST(XmlScanner, OddTagShapes)
{
    // "<>" alone is a start tag with the empty name.
    EXPECT_EQ(Scan("<>"), (Events{"S:[]"}));
    // A blank right after "<" gives the empty name; the rest is attribute text.
    EXPECT_EQ(Scan("< foo a='1'>"), (Events{"S:[foo a=1]"}));
    // A ">" inside a value ends the tag early; the remainder becomes text.
    EXPECT_EQ(Scan("<s-tb name='a>b'>x"), (Events{"S:s-tb[]", "C:b'>x"}));
}

TEST(XmlScanner, ElementFieldsAreOverwrittenByEveryStartTag)
{
    RecordingParser p;
    p.ParseText("<a x='111'>");
    p.ParseText("<b>");
    EXPECT_EQ(p.events, (Events{"S:a[x=111]", "S:b[]"}));
    EXPECT_TRUE(p.lastAttributes.empty());
}

// --- Text lines -----------------------------------------------------------

TEST(XmlScanner, ProseKeepsLeadingBlanks)
{
    EXPECT_EQ(Scan("   The hub is busy."), (Events{"C:   The hub is busy."}));
    EXPECT_EQ(Scan("\tTabbed &gt; text"), (Events{"C:\tTabbed > text"}));
}

TEST(XmlScanner, ProseFollowedByTagGivesTextThenRawEndName)
{
    EXPECT_EQ(Scan("Hello there</s-tb>"), (Events{"C:Hello there", "E:</s-tb"}));
    EXPECT_EQ(Scan("Look at <s-contents name='x'/>"),
              (Events{"C:Look at ", "E:<s-contents name='x'/"}));
}

TEST(XmlScanner, ProseWithCloserBeforeOpener)
{
    EXPECT_EQ(Scan("a > b <c"), (Events{"C:a > b ", "E:<c"}));
    EXPECT_EQ(Scan("x -> y"), (Events{"C:x -> y"}));
}

TEST(XmlScanner, OpenerWithoutCloserIsText)
{
    EXPECT_EQ(Scan("x < y"), (Events{"C:x < y"}));
    EXPECT_EQ(Scan("  <unfinished a='1'"), (Events{"C:  <unfinished a='1'"}));
}

TEST(XmlScanner, BlankLinesGiveNoEvent)
{
    EXPECT_TRUE(Scan("").empty());
    EXPECT_TRUE(Scan(" ").empty());
    EXPECT_TRUE(Scan(" \t  \t").empty());
}

TEST(XmlScanner, CarriageReturnIsOrdinaryText)
{
    EXPECT_EQ(Scan("text\r"), (Events{"C:text\r"}));
    EXPECT_EQ(Scan("<s-no-op/>\r"), (Events{"S:s-no-op[]", "E:s-no-op"}));
    EXPECT_EQ(Scan("</s-tb>\r"), (Events{"E:s-tb"}));
}

TEST(XmlScanner, DeclarationLines)
{
    EXPECT_TRUE(Scan("<?xml version=\"1.0\"?>").empty());
    EXPECT_TRUE(Scan("<?xml").empty());
    // After a leading blank the declaration is an ordinary start tag; its
    // double-quoted value is no attribute.
    EXPECT_EQ(Scan(" <?xml version=\"1.0\"?>"), (Events{"S:?xml[]"}));
    // ParseLine itself has no such rule.
    RecordingParser p;
    p.ParseLine("<?xml version=\"1.0\"?>");
    EXPECT_EQ(p.events, (Events{"S:?xml[]"}));
}

// --- Attributes -----------------------------------------------------------

TEST(XmlAttributes, EntitiesInValuesAndNames)
{
    EXPECT_EQ(Scan("<s-contents name='a&apos;b'>"), (Events{"S:s-contents[name=a'b]"}));
    EXPECT_EQ(Scan("<t n&amp;m='&lt;&gt;&quot;'>"), (Events{"S:t[n&m=<>\"]"}));
}

TEST(XmlAttributes, OrderAndDuplicatesAreKept)
{
    const AttribList a = AttributesOf("<s-new-loc name='A' loc-num='5' name='B'/>");
    ASSERT_EQ(a.size(), 3u);
    EXPECT_EQ(a[0].name, "name");
    EXPECT_EQ(a[1].name, "loc-num");
    EXPECT_EQ(a[2].value, "B");
    EXPECT_EQ(GetAttribute(a, "name"), "A");
    EXPECT_EQ(GetAttribute(a, "Name"), "");
    EXPECT_EQ(GetAttribute(a, "absent"), "");
}

TEST(XmlAttributes, SeparatorIsExactlyOneCharacter)
{
    EXPECT_EQ(Scan("<t a='1'  b='2'>"), (Events{"S:t[a=1| b=2]"}));
}

TEST(XmlAttributes, DoubleQuotesRunToTheNextApostrophe)
{
    EXPECT_EQ(Scan("<t a=\"1\">"), (Events{"S:t[]"}));
    EXPECT_EQ(Scan("<t a=\"x\" b='y'>"), (Events{"S:t[a=x\" b=]"}));
}

TEST(XmlAttributes, ShortTrailingAttributeIsNotRead)
{
    EXPECT_EQ(Scan("<t a='1' x=''>"), (Events{"S:t[a=1]"}));
    EXPECT_EQ(Scan("<t x=''>"), (Events{"S:t[]"}));
    EXPECT_EQ(Scan("<t x='1'>"), (Events{"S:t[x=1]"}));
}

TEST(XmlAttributes, MissingEqualsOrQuoteStopsReading)
{
    EXPECT_EQ(Scan("<t a='1' junk here>"), (Events{"S:t[a=1]"}));
    EXPECT_EQ(Scan("<t a='1' b='open>"), (Events{"S:t[a=1]"}));
    EXPECT_EQ(Scan("<t a=>"), (Events{"S:t[]"}));
    EXPECT_EQ(Scan("<t abcdef=>"), (Events{"S:t[]"}));
}

TEST(XmlAttributes, EmptyValueCannotBeToldFromMissing)
{
    const AttribList a = AttributesOf("<t first='' second='2'>");
    EXPECT_EQ(GetAttribute(a, "first"), "");
    EXPECT_EQ(GetNumberAttribute(a, "first", 7), 7);
    EXPECT_TRUE(GetFlagAttribute(a, "first", true));
}

// --- Numbers and flags ----------------------------------------------------

TEST(XmlNumbers, DecimalConversion)
{
    const AttribList a = AttributesOf("<t a='12abc' b='abc' c='-42' d=' +7' e='-2147483643' "
                                      "f='4294967297' g='2147483648' h='-' i='007' j='1 2'>");
    EXPECT_EQ(GetNumberAttribute(a, "a", 99), 12);
    EXPECT_EQ(GetNumberAttribute(a, "b", 99), 0);
    EXPECT_EQ(GetNumberAttribute(a, "c", 99), -42);
    EXPECT_EQ(GetNumberAttribute(a, "d", 99), 7);
    EXPECT_EQ(static_cast<uint32_t>(GetNumberAttribute(a, "e", 0)), 0x80000005u);
    EXPECT_EQ(GetNumberAttribute(a, "f", 99), 1);
    EXPECT_EQ(GetNumberAttribute(a, "g", 99), INT32_MIN);
    EXPECT_EQ(GetNumberAttribute(a, "h", 99), 0);
    EXPECT_EQ(GetNumberAttribute(a, "i", 99), 7);
    EXPECT_EQ(GetNumberAttribute(a, "j", 99), 1);
    EXPECT_EQ(GetNumberAttribute(a, "missing", 30003), 30003);
}

TEST(XmlNumbers, FlagsAreTrueOnlyForTheExactWord)
{
    const AttribList a = AttributesOf("<t a='true' b='yes' c='TRUE' d='1' e='false' f='true '>");
    EXPECT_TRUE(GetFlagAttribute(a, "a", false));
    EXPECT_FALSE(GetFlagAttribute(a, "b", true));
    EXPECT_FALSE(GetFlagAttribute(a, "c", true));
    EXPECT_FALSE(GetFlagAttribute(a, "d", true));
    EXPECT_FALSE(GetFlagAttribute(a, "e", true));
    EXPECT_FALSE(GetFlagAttribute(a, "f", true));
    EXPECT_TRUE(GetFlagAttribute(a, "missing", true));
    EXPECT_FALSE(GetFlagAttribute(a, "missing", false));
}

// --- Entities -------------------------------------------------------------

TEST(XmlEntities, DecodingLooksAtOneOrTwoCharactersOnly)
{
    EXPECT_EQ(DecodeEntities("a &amp; b"), "a & b");
    EXPECT_EQ(DecodeEntities("&apos;&gt;&lt;&quot;"), "'><\"");
    EXPECT_EQ(DecodeEntities("&lx;"), "<");
    EXPECT_EQ(DecodeEntities("&gone!"), ">e!");
    EXPECT_EQ(DecodeEntities("&zz"), "zz");
    EXPECT_EQ(DecodeEntities("&ab"), "ab");
    EXPECT_EQ(DecodeEntities("end&"), "end");
    EXPECT_EQ(DecodeEntities("&amp;lt;"), "&lt;");
    EXPECT_EQ(DecodeEntities("&&amp;"), "&");
}

TEST(XmlEntities, SkipPastTheEndEndsTheScan)
{
    EXPECT_EQ(DecodeEntities("x&am"), "x&");
    EXPECT_EQ(DecodeEntities("x&q"), "x\"");
    EXPECT_EQ(DecodeEntities("&l"), "<");
    EXPECT_EQ(DecodeEntities("&a"), "a");
}

TEST(XmlEntities, EscapeTextAndBack)
{
    EXPECT_EQ(EscapeText("a&b'c<d>e\"f"), "a&amp;b&apos;c&lt;d&gt;e\"f");
    EXPECT_EQ(EscapeText(""), "");
    for (const std::string s : {"it's", "R&D <ok>", "&amp;", "''", "plain", "\x92\xe9 bytes"})
        EXPECT_EQ(DecodeEntities(EscapeText(s)), s) << s;
}

// --- Files ----------------------------------------------------------------

namespace {
std::string WriteFile(const QTemporaryDir& dir, const std::string& name, const std::string& bytes)
{
    const std::string path = dir.filePath(QString::fromStdString(name)).toStdString();
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return path;
}
} // namespace

TEST(XmlFile, ReadsLinesSkippingDeclarationsAndCarriageReturns)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = WriteFile(dir, "in.xml",
                                       "<?xml version=\"1.0\"?>\r\n"
                                       "\r\n"
                                       "<init-file>\r\n"
                                       "   <macro key='1'>\r\n"
                                       "      <command>say a&amp;b</command>\r\n"
                                       "plain text\r\n"
                                       "<?xml in the middle\n"
                                       "   </macro>\n"
                                       "</init-file>");
    RecordingParser p(path);
    EXPECT_TRUE(p.ParseFile());
    EXPECT_EQ(p.events, (Events{"S:init-file[]", "S:macro[key=1]", "S:command[]", "C:say a&b",
                                "E:command", "C:plain text", "E:macro", "E:init-file"}));
}

TEST(XmlFile, MissingFileGivesFalseAndNoEvents)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    RecordingParser p(dir.filePath("nothing-here.xml").toStdString());
    EXPECT_FALSE(p.ParseFile());
    EXPECT_TRUE(p.events.empty());
}

TEST(XmlFile, DirectoryCannotBeRead)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    RecordingParser p(dir.path().toStdString());
    EXPECT_FALSE(p.ParseFile());
    EXPECT_TRUE(p.events.empty());
}

TEST(XmlFile, EmptyNameReadsNothing)
{
    RecordingParser p;
    EXPECT_FALSE(p.ParseFile());
}
