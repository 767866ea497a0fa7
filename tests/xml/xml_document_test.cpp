#include "xml/XmlDocument.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <tuple>

// Readable failure output for Qt strings.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

using Flag = XmlElementRecord::Flag;

// The error text without the load note in front of it.
QString ParseError(const XmlDocument &document)
{
    const QString text = document.ErrorText();
    const QString marker = QStringLiteral(" wide chars");
    const qsizetype at = text.indexOf(marker);
    if (at < 0)
        return text;
    const QString rest = text.mid(at + marker.size());
    return rest.startsWith(QStringLiteral(", ")) ? rest.mid(2) : rest;
}

XmlDocument Parsed(const QByteArray &bytes)
{
    XmlDocument document;
    document.LoadBytes(bytes);
    return document;
}

QString RootText(const QByteArray &bytes)
{
    XmlDocument document = Parsed(bytes);
    EXPECT_TRUE(document.FindElement(u""));
    return document.ElementText();
}

QString WriteFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

struct ErrorCase
{
    const char *input;
    const char *error; // parse error after the load note, "" when none
    bool sound;
};

// One row per message, with the offsets it reports (UTF-16 code units).
const ErrorCase kErrorCases[] = {
    {"<a><b>x</b></a>", "", true},
    {"hello", "No root element", false},
    {"<!-- only a comment -->", "No root element", false},
    {"<a/><b/>", "Root element has sibling", false},
    {"<a><b>", "Root element has sibling", false},
    {"<a></a><c/>", "Root element has sibling", false},
    {"<a></b></a><c/>", "Root element has sibling", false},
    {"<a></b></a>", "No start tag for end tag 'b' at offset 3", false},
    {"<a></b></c></a>", "No start tag for end tag 'b' at offset 3", false},
    {"<a><b></a>", "End tag 'a' at offset 7 does not match start tag 'b' at offset 3", false},
    {"<a><b><c></a>", "End tag 'a' at offset 10 does not match start tag 'c' at offset 6", false},
    {"<a>\xC3\xA9<b></a>", "End tag 'a' at offset 8 does not match start tag 'b' at offset 4", false},
    {"<a>\xF0\x9F\x98\x80<b></a>", "End tag 'a' at offset 9 does not match start tag 'b' at offset 5", false},
    {"<a>", "Element 'a' at offset 0 not ended", false},
    {"<a>text", "Element 'a' at offset 0 not ended", false},
    {"<a>< b</a>", "Incorrect tag name character at offset 3", false},
    {"<a><1></a>", "Incorrect tag name character at offset 3", false},
    {"<a><!x></a>", "Incorrect ! tag at offset 3", false},
    {"<a><!doctype x></a>", "Incorrect ! tag at offset 3", false},
    {"<a><!-x></a>", "Incorrect comment tag at offset 3", false},
    {"<a><![x></a>", "Incorrect tag at offset 3", false},
    {"<!DOCTYPE a [<!ENTITY e \"x\"><![x]>]><a/>", "Incorrect ! tag at offset 27", false},
    {"<!DOCTYPE a [<!DOCTYPE b>]><a/>", "Incorrect ! tag at offset 0", false},
    {"<a><b", "Element tag at offset 3 unterminated", false},
    {"<a><b c=\">\"", "Element tag at offset 3 unterminated", false},
    {"<a></a", "Element end tag at offset 3 unterminated", false},
    {"<a><![CDATA[x", "CDATA Section at offset 3 unterminated", false},
    {"<a><?pi x", "Processing instruction at offset 3 unterminated", false},
    {"<a><!-- c", "Comment at offset 3 unterminated", false},
    {"<a><!-->", "Comment at offset 3 unterminated", false},
    {"<a/><!DOCTYPE a [<!ENTITY", "Doctype at offset 4 unterminated", false},
    {"<a/><!DOCTYPE a [<!-- c", "Doctype at offset 4 unterminated", false},
    {"<a/><!ENTITY a", "Doctype at offset 4 unterminated", false},
    {"<a><", "tag at offset 3 unterminated", false},
    {"<a>< x", "tag at offset 3 unterminated", false},
    // Quotes, nested DOCTYPE nodes and processing instructions that are fine.
    {"<?xml version=\"1.0\"?><!DOCTYPE a [<!ENTITY e 'x>y'><!-- > -->]><a b='>'/>", "", true},
    {"<a>x<![CDATA[</a>]]>y</a>", "", true},
    {"\xEF\xBB\xBF<a/>", "", true},
};

} // namespace

TEST(XmlDocument, ReportsEachErrorWithItsOffset)
{
    for (const ErrorCase &row : kErrorCases) {
        SCOPED_TRACE(row.input);
        const XmlDocument document = Parsed(row.input);
        EXPECT_EQ(ParseError(document), QString::fromUtf8(row.error));
        EXPECT_EQ(document.IsSound(), row.sound);
    }
}

TEST(XmlDocument, NewDocumentIsEmpty)
{
    XmlDocument document;
    EXPECT_EQ(document.ErrorText(), "Empty document");
    EXPECT_FALSE(document.IsSound());
    EXPECT_FALSE(document.FindElement(u""));
    EXPECT_EQ(document.ElementText(), "");
    EXPECT_EQ(document.RecordCount(), 1u);
}

TEST(XmlDocument, LoadNoteCountsBytesAndCodeUnits)
{
    EXPECT_EQ(Parsed("<a/>").ErrorText(), "4 bytes to 4 wide chars");
    // Two bytes to one unit, four bytes to a surrogate pair, a bad byte to U+FFFD.
    const XmlDocument document = Parsed("<a>\xC3\xA9\xF0\x9F\x98\x80\xFF</a>");
    EXPECT_EQ(document.ErrorText(), "14 bytes to 11 wide chars");
    EXPECT_EQ(document.Text().mid(3, 4), QString::fromUtf8("\xC3\xA9\xF0\x9F\x98\x80") + QChar(0xFFFD));
    EXPECT_EQ(Parsed("<a>").ErrorText(), "3 bytes to 3 wide chars, Element 'a' at offset 0 not ended");
}

TEST(XmlDocument, LoadsFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    XmlDocument document;
    EXPECT_TRUE(document.LoadFile(WriteFile(dir, "empty.xml", {})));
    EXPECT_EQ(document.ErrorText(), "0 bytes to 0 wide chars, Empty document");
    EXPECT_FALSE(document.FindElement(u""));

    // The byte-order mark stays as U+FEFF at offset 0, a text node before the root.
    EXPECT_TRUE(document.LoadFile(WriteFile(dir, "bom.xml", "\xEF\xBB\xBF<r>t</r>")));
    EXPECT_EQ(document.Text().at(0), QChar(0xFEFF));
    EXPECT_EQ(document.ErrorText(), "11 bytes to 9 wide chars");
    EXPECT_TRUE(document.IsSound());
    ASSERT_TRUE(document.FindElement(u"r"));
    EXPECT_EQ(document.ElementText(), "t");
    EXPECT_EQ(document.Record(1).start, 1);
}

TEST(XmlDocument, UnreadableFileKeepsTheDocument)
{
    QTemporaryDir dir;
    XmlDocument document;
    EXPECT_FALSE(document.LoadFile(dir.filePath("missing.xml")));
    EXPECT_EQ(document.ErrorText(), QString::fromLocal8Bit(std::strerror(ENOENT)));
    EXPECT_FALSE(document.FindElement(u""));
    EXPECT_EQ(document.ElementText(), "");

    ASSERT_TRUE(document.LoadFile(WriteFile(dir, "ok.xml", "<r>kept</r>")));
    EXPECT_FALSE(document.LoadFile(dir.filePath("missing.xml")));
    EXPECT_FALSE(document.LoadFile(dir.path())); // a directory is not a file
    EXPECT_EQ(document.ErrorText(), QString::fromLocal8Bit(std::strerror(EISDIR)));
    ASSERT_TRUE(document.FindElement(u"r"));
    EXPECT_EQ(document.ElementText(), "kept");
}

TEST(XmlDocument, WalksSiblingsInDocumentOrder)
{
    XmlDocument document = Parsed("<a><b>x</b><c>skip</c><b>y</b></a>");
    ASSERT_TRUE(document.FindElement(u""));
    ASSERT_TRUE(document.EnterElement());
    ASSERT_TRUE(document.FindElement(u"b"));
    EXPECT_EQ(document.ElementText(), "x");
    ASSERT_TRUE(document.FindElement(u"b"));
    EXPECT_EQ(document.ElementText(), "y");
    const std::uint32_t second = document.Current();
    EXPECT_FALSE(document.FindElement(u"b"));
    EXPECT_EQ(document.Current(), second);
    EXPECT_FALSE(document.FindElement(u"c")); // never searches backwards
    EXPECT_EQ(document.ElementText(), "y");
}

TEST(XmlDocument, EnterAndLeaveResumeTheWalk)
{
    XmlDocument document = Parsed("<r><p><n>1</n><m>2</m></p><p><n>3</n></p></r>");
    EXPECT_FALSE(document.EnterElement()); // nothing current yet
    EXPECT_FALSE(document.LeaveElement()); // already at the document
    ASSERT_TRUE(document.FindElement(u""));
    ASSERT_TRUE(document.EnterElement());
    ASSERT_TRUE(document.FindElement(u"p"));
    ASSERT_TRUE(document.EnterElement());
    ASSERT_TRUE(document.FindElement(u"n"));
    ASSERT_TRUE(document.LeaveElement()); // back on the first p, remembering n
    ASSERT_TRUE(document.EnterElement());
    ASSERT_TRUE(document.FindElement(u"m")); // resumes after n
    EXPECT_EQ(document.ElementText(), "2");
    ASSERT_TRUE(document.LeaveElement());
    ASSERT_TRUE(document.FindElement(u"p"));
    ASSERT_TRUE(document.EnterElement());
    ASSERT_TRUE(document.FindElement(u"n"));
    EXPECT_EQ(document.ElementText(), "3");
    ASSERT_TRUE(document.LeaveElement());
    ASSERT_TRUE(document.LeaveElement());
    EXPECT_EQ(document.Parent(), 0u);
    EXPECT_FALSE(document.LeaveElement());
    document.Rewind();
    ASSERT_TRUE(document.FindElement(u"r"));
}

TEST(XmlDocument, MatchesWholeTagNames)
{
    struct Row
    {
        const char *document;
        const char16_t *name;
        bool found;
    };
    const Row rows[] = {
        {"<r><bb/></r>", u"b", false},
        {"<r><B/></r>", u"b", false},
        {"<r><b/></r>", u"bb", false},
        {"<r><peripherals/></r>", u"peripheral", false},
        {"<r><peripheral/></r>", u"peripherals", false},
        {"<r><b x='1'/></r>", u"b", true},
        {"<r><b=1/></r>", u"b", true},
        {"<r><b/></r>", u"b attr", true},
        {"<r><b/></r>", u"b=1", true},
        {"<r><b/></r>", u"b/", true},
        {"<r><b/></r>", u"b[0]", true},
        {"<r><b/></r>", u"b]", true},
        {"<r><b/></r>", u"b.c", false},
        {"<r><x/><b/></r>", u"", true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.document);
        XmlDocument document = Parsed(row.document);
        ASSERT_TRUE(document.FindElement(u""));
        ASSERT_TRUE(document.EnterElement());
        EXPECT_EQ(document.FindElement(row.name), row.found);
    }
}

TEST(XmlDocument, DecodesElementText)
{
    struct Row
    {
        const char *document;
        const char16_t *text;
    };
    const Row rows[] = {
        {"<v>1 &lt; 2 &#65;&#x42;</v>", u"1 < 2 AB"},
        {"<v>&amp;&gt;&apos;&quot;&lt;</v>", u"&>'\"<"},
        {"<v>&nbsp;</v>", u"&nbsp;"},
        {"<v>&#0;</v>", u"&#0;"},
        {"<v>&LT; &lt &amp</v>", u"&LT; &lt &amp"},
        {"<v>&#12345;&#1234567;</v>", u"\u3039&#1234567;"}, // ';' must come within 7 characters
        {"<v>&#x1F600;</v>", u"\U0001F600"},
        {"<v>&#x110000;&#X41;&#x;&#4a;</v>", u"&#x110000;&#X41;&#x;&#4a;"},
        {"<v> <![CDATA[<raw>]]> </v>", u"<raw>"},
        {"<v>x <![CDATA[a&amp;]]> y&lt;</v>", u"x a&amp; y<"},
        {"<v>a<!--c-->b<?p?>c</v>", u"abc"},
        {"<v><w/>t</v>", u""},
        {"<v/>", u""},
        {"<v></v>", u""},
        {"<v a=\"x>y\">t</v>", u"t"},
        {"<v>\n  line\r\n</v>", u"\n  line\r\n"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.document);
        EXPECT_EQ(RootText(row.document), QString::fromUtf16(row.text));
    }
}

TEST(XmlDocument, RecognisesSelfClosingTags)
{
    struct Row
    {
        const char *document;
        bool selfClosing;
    };
    const Row rows[] = {
        {"<a/>", true},           {"<a />", true},     {"<a b=\"1\"/>", true}, {"<a b='1'/>", true},
        {"<a b=\"x>/\"/>", true}, {"<a b=1/>", false}, {"<a/ >", false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.document);
        const XmlDocument document = Parsed(row.document);
        EXPECT_EQ(document.IsSound(), row.selfClosing);
        EXPECT_EQ((document.Record(1).flags & Flag::NotEnded) != 0, !row.selfClosing);
    }
}

TEST(XmlDocument, KeepsRecordFieldsAndLinks)
{
    const XmlDocument document = Parsed("<r>\n <a>1</a><b/><c></c >\n</r>");
    ASSERT_EQ(document.RecordCount(), 5u);
    const XmlElementRecord &root = document.Record(1);
    EXPECT_EQ(root.start, 0);
    EXPECT_EQ(root.length, int(document.Text().size()));
    EXPECT_EQ(document.TagLengthsOf(1).startTag, 3);
    EXPECT_EQ(document.TagLengthsOf(1).endTag, 4);
    EXPECT_EQ(root.firstChild, 2u);
    EXPECT_EQ(document.Record(0).firstChild, 1u);
    EXPECT_EQ(document.Record(0).length, int(document.Text().size()));
    // The first child's previous link names the last child.
    EXPECT_EQ(document.Record(2).previousSibling, 4u);
    EXPECT_EQ(document.Record(2).nextSibling, 3u);
    EXPECT_EQ(document.Record(3).previousSibling, 2u);
    EXPECT_EQ(document.Record(4).nextSibling, 0u);
    EXPECT_TRUE(document.Record(2).flags & Flag::FirstChild);
    EXPECT_FALSE(document.Record(3).flags & Flag::FirstChild);
    EXPECT_EQ(document.Record(3).length, 4); // self-closing: its start tag
    EXPECT_EQ(document.TagLengthsOf(3).endTag, 0);
    EXPECT_EQ(document.TagLengthsOf(4).endTag, 5);
    for (std::uint32_t i = 2; i <= 4; ++i) {
        EXPECT_EQ(document.Record(i).parent, 1u);
        EXPECT_EQ(document.Record(i).Level(), 1u);
    }
    EXPECT_EQ(root.Level(), 0u);
    EXPECT_EQ(document.TagName(2), u"a");
}

TEST(XmlDocument, UnclosedElementsHandTheirChildrenToTheirParent)
{
    // a and b are never closed: under r the order becomes a, x, b, y, z.
    const XmlDocument document = Parsed("<r><a>t<x/><b><y/><</r><z/>");
    EXPECT_EQ(ParseError(document), "Root element has sibling");
    const XmlDocument inner = Parsed("<q><r><a>t<x/><b><y/><</r><z/></q>");
    EXPECT_EQ(ParseError(inner), "Incorrect tag name character at offset 21");
    EXPECT_FALSE(inner.IsSound());

    XmlDocument walk = Parsed("<q><r><a>t<x/><b><y/><</r><z/></q>");
    ASSERT_TRUE(walk.FindElement(u""));
    ASSERT_TRUE(walk.EnterElement());
    ASSERT_TRUE(walk.FindElement(u"r"));
    const std::uint32_t r = walk.Current();
    EXPECT_TRUE(walk.Record(r).flags & Flag::BadMarkup); // moved up from b
    ASSERT_TRUE(walk.EnterElement());
    QStringList order;
    while (walk.FindElement(u"")) {
        order << walk.TagName(walk.Current()).toString();
        EXPECT_EQ(walk.Record(walk.Current()).parent, r);
        EXPECT_EQ(walk.Record(walk.Current()).Level(), 2u);
        EXPECT_EQ(walk.ElementText(), "");
        EXPECT_FALSE(walk.Record(walk.Current()).flags & Flag::BadMarkup);
    }
    EXPECT_EQ(order, QStringList({"a", "x", "b", "y"}));
    ASSERT_TRUE(walk.LeaveElement());
    ASSERT_TRUE(walk.FindElement(u"z"));
    EXPECT_EQ(walk.Record(walk.Current()).parent, 1u);
    const std::uint32_t a = walk.Record(r).firstChild;
    EXPECT_TRUE(walk.Record(a).flags & Flag::NotEnded);
    EXPECT_EQ(walk.Record(a).length, 3);
    EXPECT_EQ(walk.Record(walk.Record(a).previousSibling).start, 17); // y is the last child
}

TEST(XmlDocument, MismatchedEndTagClosesInnerElements)
{
    XmlDocument document = Parsed("<a><b></a>");
    EXPECT_EQ(document.Record(1).length, 10);
    EXPECT_FALSE(document.Record(1).flags & Flag::NotEnded);
    EXPECT_TRUE(document.Record(2).flags & Flag::NotEnded);
    EXPECT_EQ(document.Record(2).parent, 1u);
    EXPECT_TRUE(document.Record(0).flags & Flag::IllFormed);

    XmlDocument both = Parsed("<a><b>");
    EXPECT_EQ(both.Record(1).nextSibling, 2u);
    EXPECT_EQ(both.Record(2).parent, 0u);
    EXPECT_EQ(both.ErrorText(), "6 bytes to 6 wide chars, Root element has sibling");
    ASSERT_TRUE(both.FindElement(u""));
    EXPECT_EQ(both.ElementText(), "");
}

TEST(XmlDocument, OversizedTagsKeepTheirNeighboursIntact)
{
    // A start tag beyond 22 bits and an end tag beyond 10 bits.
    QByteArray text =
        "<r><a v=\"" + QByteArray(4200000, 'x') + "\">t</a><b>u</b><c>w</c" + QByteArray(2000, ' ') + "><d>z</d></r>";
    XmlDocument document = Parsed(text);
    EXPECT_TRUE(document.IsSound());
    ASSERT_TRUE(document.FindElement(u""));
    ASSERT_TRUE(document.EnterElement());
    ASSERT_TRUE(document.FindElement(u"a"));
    EXPECT_EQ(document.TagLengthsOf(document.Current()).startTag, 4200000 + 8);
    EXPECT_EQ(document.ElementText(), "t");
    ASSERT_TRUE(document.FindElement(u"b"));
    EXPECT_EQ(document.ElementText(), "u");
    ASSERT_TRUE(document.FindElement(u"c"));
    EXPECT_EQ(document.TagLengthsOf(document.Current()).endTag, 2004);
    EXPECT_EQ(document.ElementText(), "w");
    ASSERT_TRUE(document.FindElement(u"d"));
    EXPECT_EQ(document.ElementText(), "z");
}

TEST(XmlDocument, SurvivesDeepNesting)
{
    constexpr int kDepth = 100000;
    const QByteArray open = QByteArray("<a>").repeated(kDepth);

    XmlDocument closed = Parsed(open + "x" + QByteArray("</a>").repeated(kDepth));
    EXPECT_TRUE(closed.IsSound());
    int depth = 0;
    while (closed.FindElement(u"a") && closed.EnterElement())
        ++depth;
    EXPECT_EQ(depth, kDepth);
    ASSERT_TRUE(closed.LeaveElement());
    EXPECT_EQ(closed.ElementText(), "x");

    // Unclosed: every element ends up at the top level, in order.
    XmlDocument unclosed = Parsed(open);
    EXPECT_EQ(ParseError(unclosed), "Root element has sibling");
    EXPECT_EQ(unclosed.Record(kDepth).parent, 0u);
    EXPECT_EQ(unclosed.Record(1).nextSibling, 2u);

    // Stray end tags against a deep stack stay cheap.
    XmlDocument stray = Parsed(open + QByteArray("</b>").repeated(kDepth) + QByteArray("</a>").repeated(kDepth));
    EXPECT_EQ(ParseError(stray), QStringLiteral("No start tag for end tag 'b' at offset %1").arg(3 * kDepth));
    EXPECT_EQ(stray.Record(1).nextSibling, 0u);
    EXPECT_EQ(stray.Record(1).length, 3 * kDepth + 8 * kDepth);
}

// An all-ASCII file is read as its bytes, any other as UTF-16: a non-ASCII
// comment at the end must change nothing before it.
TEST(XmlDocument, ReadsAsciiAndWideTextsAlike)
{
    const QByteArray ascii = "<?xml version=\"1.0\"?>\n<r a='1 &amp; 2'>\n\t<p derivedFrom=\"q\"><n> x&lt;y </n>"
                             "<v>a<![CDATA[<b>]]>c</v><e/></p>\r\n  <p><n>&#65;</n><bad attr=>t</bad></p>\n"
                             "<un><x>1</x></r>";
    const XmlDocument narrow = Parsed(ascii);
    const XmlDocument wide = Parsed(ascii + "<!-- \xC3\xA9 -->");
    ASSERT_EQ(narrow.RecordCount(), wide.RecordCount());
    EXPECT_EQ(ParseError(narrow), ParseError(wide));
    EXPECT_EQ(narrow.Text(), wide.Text().first(ascii.size()));
    for (std::uint32_t i = 1; i < narrow.RecordCount(); ++i) {
        SCOPED_TRACE(i);
        const XmlElementRecord &a = narrow.Record(i);
        const XmlElementRecord &b = wide.Record(i);
        EXPECT_EQ(std::tie(a.start, a.length, a.tagLengths, a.flags, a.parent, a.firstChild, a.nextSibling),
                  std::tie(b.start, b.length, b.tagLengths, b.flags, b.parent, b.firstChild, b.nextSibling));
        EXPECT_EQ(narrow.TagName(i).toString(), wide.TagName(i).toString());
        EXPECT_EQ(narrow.ElementTextOf(i), wide.ElementTextOf(i));
        QString decodedNarrow;
        QString decodedWide;
        EXPECT_EQ(narrow.ElementTextView(i, decodedNarrow).toString(), wide.ElementTextView(i, decodedWide).toString());
        EXPECT_EQ(narrow.ElementTextView(i, decodedNarrow).toString(), narrow.ElementTextOf(i));
        for (const char16_t *attribute : {u"a", u"derivedFrom", u"attr"})
            EXPECT_EQ(narrow.AttributeOf(i, attribute), wide.AttributeOf(i, attribute));
        for (const char16_t *tag : {u"r", u"p", u"n", u"bad", u"x"})
            EXPECT_EQ(narrow.TagIs(i, tag), wide.TagIs(i, tag));
    }
    EXPECT_EQ(narrow.ElementTextOf(3), " x<y ");
    EXPECT_EQ(narrow.ElementTextOf(4), "a<b>c");
    EXPECT_EQ(narrow.AttributeOf(1, u"a"), "1 & 2");
}
