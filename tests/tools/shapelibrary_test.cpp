#include "tools/vkdtool/exitcodes.h"
#include "tools/vkdtool/shapelibrary.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vkdtool {
namespace {

class ShapesCommandLine : public testing::Test {
protected:
    QString Path(const QString& name) const { return folder_.filePath(name); }

    void WriteText(const QString& name, const QByteArray& text)
    {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QByteArray ReadBytes(const QString& name)
    {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Runs "vkdtool shapes ARGS" and keeps what it printed.
    int Run(const QStringList& args)
    {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const int code = ShapesCommand(args);
        out_ = QString::fromStdString(testing::internal::GetCapturedStdout());
        err_ = QString::fromStdString(testing::internal::GetCapturedStderr());
        return code;
    }

    QTemporaryDir folder_;
    QString out_;
    QString err_;
};

constexpr const char* kBoxSteps = R"({"steps": [
    {"code": 9, "remark": "外框", "parameters": ["0", "0", "{宽}", "{高}"]},
    {"code": 1, "parameters": ["0", "0", "{宽}/2", "{高}-1"]}]})";

TEST_F(ShapesCommandLine, ImportListProgramByteTextAndExportAgree)
{
    const QString db = Path("shapes.sdb");
    WriteText("box.json", kBoxSteps);
    ASSERT_EQ(Run({"import", db, "盒子 'a'; --", Path("box.json")}), kExitOk) << err_.toStdString();
    EXPECT_EQ(out_, "1\n");
    ASSERT_EQ(Run({"import", db, "empty", Path("none.json")}), kExitUnreadable);
    WriteText("empty.json", "[]");
    ASSERT_EQ(Run({"import", db, "empty", Path("empty.json")}), kExitOk);

    ASSERT_EQ(Run({"list", db}), kExitOk);
    EXPECT_EQ(out_, "1\t盒子 'a'; --\t2\n2\tempty\t0\n");
    ASSERT_EQ(Run({"list", db, "--json"}), kExitOk);
    const QJsonArray listed = QJsonDocument::fromJson(out_.toUtf8()).array();
    ASSERT_EQ(listed.size(), 2);
    EXPECT_EQ(listed[0].toObject().value("id").toInt(), 1);
    EXPECT_EQ(listed[0].toObject().value("name").toString(), "盒子 'a'; --");
    EXPECT_EQ(listed[0].toObject().value("steps").toInt(), 2);
    EXPECT_EQ(listed[1].toObject().value("steps").toInt(), 0);

    ASSERT_EQ(Run({"bytetext", db, "--name", "盒子 'a'; --"}), kExitOk);
    EXPECT_EQ(out_, "{ 9, 0, 0, 0, 0, 0, 255, 31, 255, 31, 1, 0, 0, 0, 0, 0, 255, 15, 254, 31, "
                    "0, 0 }\n");
    ASSERT_EQ(Run({"program", db, "--id", "2", Path("empty.bin")}), kExitOk);
    EXPECT_EQ(ReadBytes("empty.bin"), QByteArray(2, '\0'));

    ASSERT_EQ(Run({"export", db, "--id", "1", Path("again.json")}), kExitOk);
    const QJsonObject exported = QJsonDocument::fromJson(ReadBytes("again.json")).object();
    EXPECT_EQ(exported.value("name").toString(), "盒子 'a'; --");
    const QJsonArray steps = exported.value("steps").toArray();
    ASSERT_EQ(steps.size(), 2);
    EXPECT_EQ(steps[0].toObject().value("code").toInt(), 9);
    EXPECT_EQ(steps[0].toObject().value("remark").toString(), "外框");
    const QJsonArray parameters = steps[1].toObject().value("parameters").toArray();
    ASSERT_EQ(parameters.size(), 9);
    EXPECT_EQ(parameters[3].toString(), "{高}-1");
    EXPECT_EQ(parameters[8].toString(), "");

    // The exported file imports as the same shape.
    ASSERT_EQ(Run({"import", db, "copy", Path("again.json")}), kExitOk);
    ASSERT_EQ(Run({"bytetext", db, "--name", "copy"}), kExitOk);
    EXPECT_EQ(out_, "{ 9, 0, 0, 0, 0, 0, 255, 31, 255, 31, 1, 0, 0, 0, 0, 0, 255, 15, 254, 31, "
                    "0, 0 }\n");
}

TEST_F(ShapesCommandLine, SheetDrawsEveryShape)
{
    const QString db = Path("shapes.sdb");
    WriteText("box.json", kBoxSteps);
    for (int i = 0; i < 7; ++i) {
        ASSERT_EQ(Run({"import", db, QString("shape %1").arg(i), Path("box.json")}), kExitOk);
    }
    ASSERT_EQ(Run({"sheet", db, Path("sheet.png")}), kExitOk) << err_.toStdString();
    QImage sheet(Path("sheet.png"));
    ASSERT_FALSE(sheet.isNull());
    // Six cells in the first row, the seventh shape on a second one.
    const std::vector<NamedProgram> shapes(7, NamedProgram{"x", {9, 0, 0, 0, 0, 0, 255, 31, 255,
                                                                  31, 0, 0}});
    const QImage drawn = DrawShapeSheet(shapes);
    EXPECT_EQ(sheet.size(), drawn.size());
    EXPECT_GT(drawn.width(), drawn.height());
    // The seventh rectangle's outline passes through the second row's first cell.
    int dark = 0;
    for (int x = 0; x < drawn.width() / 6; ++x) {
        dark += qGray(drawn.pixel(x, drawn.height() / 2 + 20)) < 128 ? 1 : 0;
    }
    EXPECT_GT(dark, 0);
}

TEST_F(ShapesCommandLine, ExitCodesTellUsageFromUnreadableInput)
{
    const QString db = Path("shapes.sdb");
    WriteText("box.json", kBoxSteps);
    ASSERT_EQ(Run({"import", db, "box", Path("box.json")}), kExitOk);
    WriteText("bad.json", R"([{"code": 26}])");
    WriteText("many.json", R"([{"code": 1, "parameters": ["1","2","3","4","5","6","7","8","9","10"]}])");
    WriteText("broken.json", "[{");
    WriteText("text.sdb", "not a database at all, just some words for a page or so of text");

    struct Case {
        QStringList args;
        int code;
    };
    const Case cases[] = {
        {{}, kExitUsage},
        {{"list"}, kExitUsage},
        {{"list", db, "--yaml"}, kExitUsage},
        {{"program", db, "--id", "1"}, kExitUsage},
        {{"program", db, "--number", "1", Path("p.bin")}, kExitUsage},
        {{"bytetext", db, "--id"}, kExitUsage},
        {{"list", Path("missing.sdb")}, kExitUnreadable},
        {{"list", Path("text.sdb")}, kExitUnreadable},
        {{"bytetext", db, "--id", "7"}, kExitUnreadable},
        {{"bytetext", db, "--name", "nobody"}, kExitUnreadable},
        {{"import", db, "x", Path("bad.json")}, kExitUnreadable},
        {{"import", db, "x", Path("many.json")}, kExitUnreadable},
        {{"import", db, "x", Path("broken.json")}, kExitUnreadable},
        {{"program", db, "--id", "1", Path("no/such/folder/p.bin")}, kExitUnreadable},
        {{"sheet", Path("missing.sdb"), Path("s.png")}, kExitUnreadable},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run(c.args), c.code) << c.args.join(' ').toStdString();
    }
    // Reading commands never create a database, and refused imports add no shape.
    EXPECT_FALSE(QFile::exists(Path("missing.sdb")));
    ASSERT_EQ(Run({"list", db}), kExitOk);
    EXPECT_EQ(out_.count('\n'), 1);
}

} // namespace
} // namespace vkdtool
