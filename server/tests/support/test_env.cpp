#include "test_env.h"

#include "protocol/xml.h"

ServerOptions testOptions(const QString& dataDir)
{
    ServerOptions o;
    o.port = 0;
    o.dataDir = dataDir;
    o.worldFile = QStringLiteral(KYRND_WORLD_FILE);
    o.session.noopIntervalMs = 0;
    o.session.noopTimeoutMs = 60000;
    o.session.loginTimeoutMs = 0;
    o.session.failureDelayMs = 0;
    o.driftMs = 0;
    o.storyMs = 0;
    o.bots = 0;
    o.seed = 7;
    o.hashIterations = 500;
    o.saveMs = 20;
    o.maxPerAddress = 0;
    return o;
}

TestServer::TestServer() : TestServer(ServerOptions{}) {}

TestServer::TestServer(ServerOptions options)
{
    if (options.worldFile.isEmpty())
        options = testOptions(dir_.path());
    else if (options.dataDir.isEmpty())
        options.dataDir = dir_.path();
    server_ = std::make_unique<Server>(options);
    ok_ = server_->start(&error_);
}

bool TestServer::join(ScriptClient& c, const QString& id, bool orvix)
{
    return ok_ && c.connectTo(port()) && logOn(c, id, QStringLiteral("orvixdemo"), orvix);
}

::testing::AssertionResult inOrder(const QStringList& lines, const QStringList& prefixes)
{
    qsizetype at = 0;
    for (const QString& p : prefixes) {
        while (at < lines.size() && !lines[at].startsWith(p))
            ++at;
        if (at == lines.size())
            return ::testing::AssertionFailure() << "missing or out of order: " << p.toStdString()
                                                 << "\n" << lines.join('\n').toStdString();
        ++at;
    }
    return ::testing::AssertionSuccess();
}

bool logOn(ScriptClient& c, const QString& id, const QString& password, bool orvix)
{
    if (c.waitFor(QStringLiteral("login:")).isNull())
        return false;
    c.send(id);
    if (c.waitFor(QStringLiteral("password:")).isNull())
        return false;
    c.send(password);
    if (c.waitFor(QStringLiteral("Linking to Kyrnos DataSpace")).isNull())
        return false;
    if (orvix) {
        c.send(QStringLiteral("<?xml version=\"1.0\"?>"));
        c.send(QStringLiteral("<c-orvix version='1.60'>"));
    } else {
        c.send(QStringLiteral("who"));
    }
    return !c.waitFor(QStringLiteral("<?xml version=\"1.0\"?>")).isNull();
}

namespace {

struct Recorder : XMLParser {
    QStringList starts, ends, texts;
    AttribList attrs;
    void StartElement(const std::string& name, const AttribList& a) override
    {
        starts << QString::fromStdString(name);
        attrs = a;
    }
    void EndElement(const std::string& name) override { ends << QString::fromStdString(name); }
    void Characters(const std::string& text) override { texts << QString::fromStdString(text); }
};

// The attributes as written: name='value' pairs, values decoded by hand.
QList<QPair<QString, QString>> writtenAttributes(const QString& tag)
{
    QList<QPair<QString, QString>> out;
    qsizetype pos = tag.indexOf(QLatin1Char(' '));
    while (pos >= 0 && pos < tag.size()) {
        const qsizetype eq = tag.indexOf(QLatin1String("='"), pos);
        if (eq < 0)
            break;
        const qsizetype q = tag.indexOf(QLatin1Char('\''), eq + 2);
        QString v = tag.mid(eq + 2, q - eq - 2);
        v.replace(QLatin1String("&apos;"), QLatin1String("'")).replace(QLatin1String("&lt;"), QLatin1String("<"))
            .replace(QLatin1String("&gt;"), QLatin1String(">")).replace(QLatin1String("&amp;"), QLatin1String("&"));
        out << qMakePair(tag.mid(pos + 1, eq - pos - 1), v);
        pos = q + 1;
    }
    return out;
}

} // namespace

bool scansCleanly(const QString& line, QString* why)
{
    Recorder r;
    r.ParseText(line.toStdString());
    if (!line.startsWith(QLatin1Char('<'))) {
        // Text inside an element: one run of text, no tags.
        if (!r.starts.isEmpty() || !r.ends.isEmpty()) {
            *why = QStringLiteral("text line scans as markup: ") + line;
            return false;
        }
        return true;
    }
    if (line.startsWith(QLatin1String("<?xml")) || line.startsWith(QLatin1String("</")))
        return true;
    const qsizetype gt = line.indexOf(QLatin1Char('>'));
    const QString tag = line.mid(1, gt - 1);
    const QString name = tag.section(QLatin1Char(' '), 0, 0).remove(QLatin1Char('/'));
    if (r.starts.size() != 1 || r.starts.first() != name) {
        *why = QStringLiteral("start tag not read as ") + name + QStringLiteral(": ") + line;
        return false;
    }
    const auto expected = writtenAttributes(tag.endsWith(QLatin1Char('/')) ? tag.chopped(1) : tag);
    if (expected.size() != qsizetype(r.attrs.size())) {
        *why = QStringLiteral("attributes lost: ") + line;
        return false;
    }
    for (qsizetype i = 0; i < expected.size(); ++i) {
        if (QString::fromStdString(r.attrs[i].name) != expected[i].first
            || QString::fromStdString(r.attrs[i].value) != expected[i].second) {
            *why = QStringLiteral("attribute %1 misread: ").arg(expected[i].first) + line;
            return false;
        }
    }
    return true;
}
