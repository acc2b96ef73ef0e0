#include "msarender/tree/Newick.h"

#include <QFile>

#include "msarender/picture/FileOutput.h"

namespace {

// Characters that end an unquoted label or length.
bool IsDelimiter(QChar c) {
    return c.isSpace() || QStringLiteral("()[]':;,").contains(c);
}

// A recursive-descent reader that keeps an explicit stack: a ladder tree of thousands of leaves is deep.
class NewickReader {
public:
    explicit NewickReader(const QString& text) : text(text) {}

    NewickResult Read() {
        SkipBlanks();
        if (!failed() && AtEnd()) Fail(QStringLiteral("the file holds no tree"));
        if (failed()) return Failure();
        int node = tree.AddNode(-1);
        std::vector<int> open;  // inner nodes whose ')' is still to come
        while (ReadSubtreeStart(node, open)) {
            if (!FinishNodes(node, open)) return Failure();
            if (open.empty()) {
                if (Peek() != ';') Expected(QStringLiteral("';' at the end of the tree"));
                if (failed()) return Failure();
                NewickResult result;
                result.tree = std::move(tree);
                return result;
            }
            node = tree.AddNode(open.back());  // after a ','
        }
        return Failure();
    }

private:
    // Opens the '('s of a subtree down to its first leaf and reads that leaf; false on an error.
    bool ReadSubtreeStart(int& node, std::vector<int>& open) {
        for (;;) {
            SkipBlanks();
            if (failed()) return false;
            if (Peek() != '(') break;
            ++position;
            open.push_back(node);
            node = tree.AddNode(node);
        }
        const qsizetype start = position;
        if (!ReadLabelAndLength(node)) return false;
        if (tree.nodes[std::size_t(node)].label.isEmpty()) {
            Fail(QStringLiteral("a leaf without a name"), start);
            return false;
        }
        return true;
    }

    // Closes the ')'s that follow a subtree, with their labels; stops before a ',' (or the end of the
    // tree). False on an error.
    bool FinishNodes(int& node, std::vector<int>& open) {
        for (;;) {
            SkipBlanks();
            if (failed()) return false;
            if (open.empty()) return true;
            if (Peek() == ',') {
                ++position;
                return true;
            }
            if (Peek() != ')') {
                Expected(QStringLiteral("',' or ')'"));
                return false;
            }
            ++position;
            node = open.back();
            open.pop_back();
            if (!ReadLabelAndLength(node)) return false;
        }
    }

    bool AtEnd() const { return position >= text.size(); }
    QChar Peek() const { return AtEnd() ? QChar() : text[position]; }
    bool failed() const { return !error.isEmpty(); }

    void Fail(const QString& message, qsizetype at = -1) {
        if (failed()) return;
        error = message;
        errorAt = at < 0 ? position : at;
    }
    void Expected(const QString& what) {
        Fail(AtEnd() ? QStringLiteral("the tree ends early: expected %1").arg(what)
                     : QStringLiteral("expected %1, found '%2'").arg(what, Peek()));
    }

    NewickResult Failure() const {
        NewickResult result;
        result.error = error;
        result.line = 1;
        result.column = 1;
        for (qsizetype i = 0; i < errorAt && i < text.size(); ++i) {
            if (text[i] == '\n') {
                ++result.line;
                result.column = 1;
            } else {
                ++result.column;
            }
        }
        return result;
    }

    // Whitespace and comments, which may nest: "[a [b] c]".
    void SkipBlanks() {
        while (!AtEnd()) {
            if (Peek().isSpace()) {
                ++position;
                continue;
            }
            if (Peek() != '[') return;
            const qsizetype start = position;
            int depth = 0;
            do {
                if (text[position] == '[') ++depth;
                if (text[position] == ']') --depth;
                ++position;
            } while (depth > 0 && !AtEnd());
            if (depth > 0) return Fail(QStringLiteral("a comment that is never closed with ']'"), start);
        }
    }

    // The label (quoted or not) and ":length" that may follow a leaf or a ')'.
    bool ReadLabelAndLength(int node) {
        PhyloTree::Node& each = tree.nodes[std::size_t(node)];
        SkipBlanks();
        if (Peek() == '\'') {
            if (!ReadQuoted(each.label)) return false;
        } else {
            each.label = ReadBare();
        }
        SkipBlanks();
        if (failed()) return false;
        if (Peek() != ':') return true;
        ++position;
        SkipBlanks();
        const qsizetype start = position;
        const QString number = ReadBare();
        bool ok = false;
        const double length = number.toDouble(&ok);
        if (!ok) {
            if (number.isEmpty())
                Expected(QStringLiteral("a branch length after ':'"));
            else
                Fail(QStringLiteral("'%1' is not a branch length").arg(number), start);
            return false;
        }
        each.length = length;
        return true;
    }

    QString ReadBare() {
        const qsizetype start = position;
        while (!AtEnd() && !IsDelimiter(Peek())) ++position;
        return text.mid(start, position - start);
    }

    bool ReadQuoted(QString& label) {
        const qsizetype start = position++;
        for (;;) {
            if (AtEnd()) {
                Fail(QStringLiteral("a quoted label that is never closed"), start);
                return false;
            }
            const QChar c = text[position++];
            if (c != '\'') {
                label += c;
            } else if (Peek() == '\'') {  // '' is a quote inside the label
                label += c;
                ++position;
            } else {
                return true;
            }
        }
    }

    const QString& text;
    qsizetype position = 0;
    PhyloTree tree;
    QString error;
    qsizetype errorAt = 0;
};

bool NeedsQuotes(const QString& label) {
    if (label.isEmpty()) return false;
    for (QChar c : label)
        if (IsDelimiter(c)) return true;
    return false;
}

QString LabelText(const QString& label) {
    if (!NeedsQuotes(label)) return label;
    QString quoted = label;
    quoted.replace('\'', QStringLiteral("''"));
    return '\'' + quoted + '\'';
}

}  // namespace

NewickResult ReadNewick(const QString& text) {
    return NewickReader(text).Read();
}

NewickResult ReadNewickFile(const QString& path) {
    NewickResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("%1: cannot read the tree: %2").arg(path, file.errorString());
        return result;
    }
    result = ReadNewick(QString::fromUtf8(file.readAll()));
    if (!result.ok())
        result.error =
            QStringLiteral("%1:%2:%3: %4").arg(path).arg(result.line).arg(result.column).arg(result.error);
    return result;
}

QString WriteNewick(const PhyloTree& tree) {
    if (tree.IsEmpty()) return QStringLiteral(";");
    QString out;
    // (node, next child to write)
    std::vector<std::pair<int, std::size_t>> stack{{0, 0}};
    while (!stack.empty()) {
        auto& [node, next] = stack.back();
        const PhyloTree::Node& each = tree.nodes[std::size_t(node)];
        if (!each.IsLeaf() && next < each.children.size()) {
            out += next == 0 ? '(' : ',';
            stack.emplace_back(each.children[next++], 0);
            continue;
        }
        if (!each.IsLeaf()) out += ')';
        out += LabelText(each.label);
        if (each.length) out += ':' + QString::number(*each.length, 'g', 6);
        stack.pop_back();
    }
    return out + ';';
}

QString WriteNewickFile(const PhyloTree& tree, const QString& path) {
    const QByteArray bytes = WriteNewick(tree).toUtf8() + '\n';
    return WriteEncoded(path, [&](QIODevice& out) {
        return out.write(bytes) == bytes.size() ? QString() : out.errorString();
    });
}
