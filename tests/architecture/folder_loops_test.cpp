// The shape of each program's folders: the shell wires the areas' screens, an area never reaches
// into another area's screens, and no two folders include each other, directly or around a ring.
// A loop would mean that neither folder can be understood, built or changed without the other.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <functional>

namespace {

// Folders below every area that areas may use: the context handed to every screen, and the
// back office's shared building blocks of its panels.
const QSet<QString> kSharedFolders = {QStringLiteral("context"), QStringLiteral("panels")};
const QString kShell = QStringLiteral("shell");

struct Include {
    QString fromFile;
    QString fromFolder;
    QString toFolder;
    QString toFile;
};

QList<Include> includesOf(const QString& program) {
    const QString root = QStringLiteral(SORREL_SOURCE_DIR "/") + program;
    const QRegularExpression line(QStringLiteral("#include \"") + program +
                                  QStringLiteral("/([a-z_]+)/([a-z_]+\\.h)\""));
    QList<Include> found;
    QDirIterator it(root, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = path.mid(root.size() + 1);
        const QString folder = relative.contains(u'/') ? relative.section(u'/', 0, 0) : QStringLiteral(".");
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QString text = QString::fromUtf8(file.readAll());
        for (auto m = line.globalMatch(text); m.hasNext();) {
            const auto match = m.next();
            if (match.captured(1) != folder)
                found.append({relative, folder, match.captured(1), match.captured(2)});
        }
    }
    return found;
}

bool isScreenHeader(const QString& file) {
    static const QRegularExpression screen(QStringLiteral("_(screen|panel|dialog)\\.h$"));
    return screen.match(file).hasMatch();
}

// The folders of every ring of includes (Tarjan's strongly connected components of two or more).
QList<QStringList> loops(const QMap<QString, QSet<QString>>& graph) {
    QMap<QString, int> index, low;
    QStringList stack;
    QSet<QString> onStack;
    QList<QStringList> rings;
    int next = 0;
    std::function<void(const QString&)> visit = [&](const QString& v) {
        index[v] = low[v] = next++;
        stack.append(v);
        onStack.insert(v);
        for (const QString& w : graph.value(v)) {
            if (!index.contains(w)) {
                visit(w);
                low[v] = std::min(low[v], low[w]);
            } else if (onStack.contains(w)) {
                low[v] = std::min(low[v], index[w]);
            }
        }
        if (low[v] != index[v]) return;
        QStringList ring;
        QString w;
        do {
            w = stack.takeLast();
            onStack.remove(w);
            ring.append(w);
        } while (w != v);
        if (ring.size() > 1) rings.append(ring);
    };
    for (auto it = graph.begin(); it != graph.end(); ++it)
        if (!index.contains(it.key())) visit(it.key());
    return rings;
}

class FolderShape : public testing::TestWithParam<const char*> {};

TEST_P(FolderShape, NoFolderIncludesItselfAroundARing) {
    QMap<QString, QSet<QString>> graph;
    QMap<QString, QString> example;
    for (const Include& inc : includesOf(QString::fromLatin1(GetParam()))) {
        graph[inc.fromFolder].insert(inc.toFolder);
        example.insert(inc.fromFolder + u'>' + inc.toFolder,
                       inc.fromFile + QStringLiteral(" -> ") + inc.toFile);
    }
    for (const QStringList& ring : loops(graph)) {
        QStringList why;
        for (const QString& from : ring)
            for (const QString& to : ring)
                if (example.contains(from + u'>' + to)) why.append(example.value(from + u'>' + to));
        ADD_FAILURE() << "folders in a ring: " << ring.join(u' ').toStdString() << "\n  "
                      << why.join(QStringLiteral("\n  ")).toStdString();
    }
}

TEST_P(FolderShape, OnlyTheShellIncludesAnotherAreasScreens) {
    for (const Include& inc : includesOf(QString::fromLatin1(GetParam()))) {
        if (inc.fromFolder == kShell || inc.fromFolder == u'.' || kSharedFolders.contains(inc.toFolder))
            continue;
        EXPECT_FALSE(isScreenHeader(inc.toFile))
            << inc.fromFile.toStdString() << " includes " << inc.toFolder.toStdString() << "/"
            << inc.toFile.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, FolderShape, testing::Values("frontdesk", "backoffice"));

} // namespace
