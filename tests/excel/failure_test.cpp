// Files that cannot be opened or saved: the merchant's table stays exactly as it was and
// the message says what went wrong.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "excel/excel_test_support.h"
#include "support/local_literal.h"

namespace varnola {
namespace {

using test::L;

constexpr const char* kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* kRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

// A package with one sheet whose part is given, and the shared strings part when given.
void WritePackage(const std::string& path, const std::string& sheetXml,
                  const std::string& sharedStringsXml = {}) {
  std::string relationships =
      std::string(
          "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
          "relationships\"><Relationship Id=\"rId1\" Type=\"") +
      kRel + "/worksheet\" Target=\"worksheets/sheet1.xml\"/>";
  std::vector<std::pair<std::string, std::string>> parts = {
      {"xl/workbook.xml", std::string("<workbook xmlns=\"") + kMain + "\" xmlns:r=\"" + kRel +
                              "\"><sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/>"
                              "</sheets></workbook>"},
      {"xl/worksheets/sheet1.xml", sheetXml}};
  if (!sharedStringsXml.empty()) {
    relationships += std::string("<Relationship Id=\"rId2\" Type=\"") + kRel +
                     "/sharedStrings\" Target=\"sharedStrings.xml\"/>";
    parts.push_back({"xl/sharedStrings.xml", sharedStringsXml});
  }
  parts.push_back({"xl/_rels/workbook.xml.rels", relationships + "</Relationships>"});
  test::WriteZip(path, parts);
}

// 300 MB of spaces inside the sheet, deflated to a few hundred kilobytes; with "lie" the
// part's size is declared as 1000 bytes in both its local header and the central directory.
const std::string kZipBomb = test::kOneSheetPackage + R"PY(
import struct
path, main, rel, lie = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4] == 'lie'
with one_sheet_package(path, main, rel) as z:
    with z.open('xl/worksheets/sheet1.xml', 'w') as f:
        f.write(('<worksheet xmlns="%s"><sheetData>' % main).encode())
        block = b' ' * (1 << 20)
        for _ in range(300):
            f.write(block)
        f.write(b'</sheetData></worksheet>')
if not lie:
    sys.exit(0)
name = b'xl/worksheets/sheet1.xml'
data = bytearray(open(path, 'rb').read())
with zipfile.ZipFile(path) as z:
    struct.pack_into('<I', data, z.getinfo(name.decode()).header_offset + 22, 1000)
at = data.find(b'PK\x01\x02')
while at >= 0:
    length = struct.unpack_from('<H', data, at + 28)[0]
    if data[at + 46:at + 46 + length] == name:
        struct.pack_into('<I', data, at + 24, 1000)
    at = data.find(b'PK\x01\x02', at + 4)
open(path, 'wb').write(data)
)PY";

// Two parts of 150 MB each, the shared strings and the sheet: each alone is below the
// budget, together they are over it.
constexpr const char* kSplitBomb = R"PY(
import sys, zipfile
path, main, rel = sys.argv[1], sys.argv[2], sys.argv[3]
block = b' ' * (1 << 20)
with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED, compresslevel=1) as z:
    z.writestr('xl/workbook.xml', '<workbook xmlns="%s" xmlns:r="%s"><sheets><sheet name="S" '
               'sheetId="1" r:id="rId1"/></sheets></workbook>' % (main, rel))
    z.writestr('xl/_rels/workbook.xml.rels', '<Relationships xmlns="http://schemas.openxml'
               'formats.org/package/2006/relationships"><Relationship Id="rId1" Type="%s/'
               'worksheet" Target="worksheets/sheet1.xml"/><Relationship Id="rId2" Type="%s/'
               'sharedStrings" Target="sharedStrings.xml"/></Relationships>' % (rel, rel))
    for name, open_tag, close_tag in (('xl/sharedStrings.xml', '<sst xmlns="%s">', '</sst>'),
                                      ('xl/worksheets/sheet1.xml',
                                       '<worksheet xmlns="%s"><sheetData>',
                                       '</sheetData></worksheet>')):
        with z.open(name, 'w') as f:
            f.write((open_tag % main).encode())
            for _ in range(150):
                f.write(block)
            f.write(close_tag.encode())
)PY";

// One tag of 250 MB: an attribute value that never ends.
const std::string kHugeTag = test::kOneSheetPackage + R"PY(
path, main, rel = sys.argv[1], sys.argv[2], sys.argv[3]
with one_sheet_package(path, main, rel) as z:
    with z.open('xl/worksheets/sheet1.xml', 'w') as f:
        f.write(('<worksheet xmlns="%s"><sheetData><row r="1" spans="' % main).encode())
        block = b'1' * (1 << 20)
        for _ in range(250):
            f.write(block)
        f.write(b'"/></sheetData></worksheet>')
)PY";

// Ten levels of ten references: a billion "lol"s once expanded.
std::string BillionLaughs() {
  std::string doctype = "<?xml version=\"1.0\"?><!DOCTYPE sst [<!ENTITY lol0 \"lol\">";
  for (int level = 1; level < 10; ++level) {
    doctype += "<!ENTITY lol" + std::to_string(level) + " \"";
    for (int k = 0; k < 10; ++k) doctype += "&lol" + std::to_string(level - 1) + ";";
    doctype += "\">";
  }
  return doctype + "]>";
}

struct ImportFailure {
  const char* name;
  std::function<std::string(const test::TempDir&)> dropped;  // makes the file, gives the drop
  ExcelError reason;
};

const ImportFailure kImportFailures[] = {
    {"a picture",
     [](const test::TempDir& dir) {
       test::WriteFile(dir.Path("photo.png"), std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
       return dir.Path("photo.png");
     },
     ExcelError::NotAWorkbook},
    {"text named like a workbook",
     [](const test::TempDir& dir) {
       test::WriteFile(dir.Path("notes.xlsx"), "hello");
       return dir.Path("notes.xlsx");
     },
     ExcelError::NotAWorkbook},
    {"a zip archive that is no workbook",
     [](const test::TempDir& dir) {
       test::WriteZip(dir.Path("report.xlsx"), {{"word/document.xml", "<document/>"}});
       return dir.Path("report.xlsx");
     },
     ExcelError::NotAWorkbook},
    {"two files dropped together",
     [](const test::TempDir& dir) {
       WritePackage(dir.Path("a.xlsx"), "<worksheet/>");
       WritePackage(dir.Path("b.xlsx"), "<worksheet/>");
       return dir.Path("a.xlsx") + "\r\n" + dir.Path("b.xlsx") + "\r\n";
     },
     ExcelError::SeveralFiles},
    {"a file that is gone", [](const test::TempDir& dir) { return dir.Path("gone.xlsx"); },
     ExcelError::NotFound},
    {"a folder",
     [](const test::TempDir& dir) {
       std::filesystem::create_directory(dir.Path("folder.xlsx"));
       return dir.Path("folder.xlsx");
     },
     ExcelError::IsFolder},
    {"a truncated workbook",
     [](const test::TempDir& dir) {
       WritePackage(dir.Path("whole.xlsx"), "<worksheet><sheetData/></worksheet>");
       const std::string bytes = test::ReadFile(dir.Path("whole.xlsx"));
       test::WriteFile(dir.Path("cut.xlsx"), bytes.substr(0, bytes.size() / 2));
       return dir.Path("cut.xlsx");
     },
     ExcelError::Damaged},
    {"malformed XML",
     [](const test::TempDir& dir) {
       WritePackage(dir.Path("bad.xlsx"),
                    std::string("<worksheet xmlns=\"") + kMain +
                        "\"><sheetData><row><c><v>1</v></row></sheetData></worksheet>");
       return dir.Path("bad.xlsx");
     },
     ExcelError::Damaged},
    {"an external entity",
     [](const test::TempDir& dir) {
       WritePackage(dir.Path("xxe.xlsx"),
                    std::string("<?xml version=\"1.0\"?><!DOCTYPE w [<!ENTITY e SYSTEM "
                                "\"file:///etc/passwd\">]><worksheet xmlns=\"") +
                        kMain +
                        "\"><sheetData><row><c t=\"inlineStr\"><is><t>&e;</t></is></c>"
                        "</row></sheetData></worksheet>");
       return dir.Path("xxe.xlsx");
     },
     ExcelError::Unsafe},
    {"an external parameter entity",
     [](const test::TempDir& dir) {
       WritePackage(dir.Path("param.xlsx"),
                    std::string("<!DOCTYPE w [<!ENTITY % p SYSTEM \"http://127.0.0.1:9/x\"> %p;]>"
                                "<worksheet xmlns=\"") +
                        kMain + "\"><sheetData/></worksheet>");
       return dir.Path("param.xlsx");
     },
     ExcelError::Unsafe},
    {"billion laughs in the shared strings",
     [](const test::TempDir& dir) {
       WritePackage(dir.Path("laughs.xlsx"),
                    std::string("<worksheet xmlns=\"") + kMain +
                        "\"><sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>"
                        "</sheetData></worksheet>",
                    BillionLaughs() + "<sst xmlns=\"" + kMain + "\"><si><t>&lol9;</t></si></sst>");
       return dir.Path("laughs.xlsx");
     },
     ExcelError::Unsafe},
    {"one long shared string in every cell",
     [](const test::TempDir& dir) {
       std::string rows;
       for (int r = 1; r <= 2000; ++r) {
         rows += "<row r=\"" + std::to_string(r) + "\"><c t=\"s\"><v>0</v></c></row>";
       }
       // 2,000 copies of 200 KB: 400 MB of text from a package of a few kilobytes.
       WritePackage(dir.Path("copies.xlsx"),
                    std::string("<worksheet xmlns=\"") + kMain + "\"><sheetData>" + rows +
                        "</sheetData></worksheet>",
                    std::string("<sst xmlns=\"") + kMain + "\"><si><t>" +
                        std::string(200'000, 'x') + "</t></si></sst>");
       return dir.Path("copies.xlsx");
     },
     ExcelError::TooLarge},
    {"a tag of 250 MB",
     [](const test::TempDir& dir) {
       test::RunPython(kHugeTag, {dir.Path("tag.xlsx"), kMain, kRel});
       return dir.Path("tag.xlsx");
     },
     ExcelError::TooLarge},
    {"a zip bomb",
     [](const test::TempDir& dir) {
       test::RunPython(kZipBomb, {dir.Path("bomb.xlsx"), kMain, kRel, "honest"});
       return dir.Path("bomb.xlsx");
     },
     ExcelError::TooLarge},
    {"an entry claiming a tiny size that inflates huge",
     [](const test::TempDir& dir) {
       test::RunPython(kZipBomb, {dir.Path("liar.xlsx"), kMain, kRel, "lie"});
       return dir.Path("liar.xlsx");
     },
     ExcelError::TooLarge},
    {"parts that together inflate past the budget",
     [](const test::TempDir& dir) {
       test::RunPython(kSplitBomb, {dir.Path("split.xlsx"), kMain, kRel});
       return dir.Path("split.xlsx");
     },
     ExcelError::TooLarge},
    {"more cells than a sheet may bring",
     [](const test::TempDir& dir) {
       std::string row(1000 * 2, ',');
       for (std::size_t i = 0; i < row.size(); i += 2) row[i] = 'a';
       row.back() = '\n';
       std::string rows;
       for (int r = 0; r < 2001; ++r) rows += row;  // 2,001,000 cells
       test::WriteFile(dir.Path("huge.csv"), rows);
       return dir.Path("huge.csv");
     },
     ExcelError::TooLarge},
    {"a broken compound document",
     [](const test::TempDir& dir) {
       test::WriteFile(dir.Path("old.xls"),
                       std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(600, 'x'));
       return dir.Path("old.xls");
     },
     ExcelError::Damaged},
};

TEST(FailureTest, AFileThatCannotBeOpenedLeavesTheTableAsItWas) {
  for (const auto& failure : kImportFailures) {
    test::TempDir dir;
    const std::string dropped = failure.dropped(dir);
    test::ExcelHarness harness;
    harness.fake.table.AppendFilledRow({"1", L("订单一")});
    harness.fake.table.AppendFilledRow({"2", L("订单二")});
    const auto before = test::TableCells(harness.fake.table);

    harness.Import(L(dropped));
    EXPECT_EQ(test::TableCells(harness.fake.table), before) << failure.name;
    EXPECT_EQ(harness.Messages(),
              std::vector<std::string>{L("导入失败！") + ExcelStatus(failure.reason).Reason()})
        << failure.name;
    EXPECT_EQ(harness.program.Instance(), nullptr) << failure.name;
  }
}

struct ExportFailure {
  const char* name;
  std::function<std::string(const test::TempDir&)> target;
  ExcelError reason;
};

const ExportFailure kExportFailures[] = {
    {"a folder that does not exist",
     [](const test::TempDir& dir) { return dir.Path("no/such/folder/订单.xlsx"); },
     ExcelError::FolderMissing},
    {"a file in place of the folder",
     [](const test::TempDir& dir) {
       test::WriteFile(dir.Path("file"), "x");
       return dir.Path("file/订单.xlsx");
     },
     ExcelError::FolderMissing},
    {"a folder in place of the file",
     [](const test::TempDir& dir) {
       std::filesystem::create_directory(dir.Path("订单.xlsx"));
       return dir.Path("订单.xlsx");
     },
     ExcelError::IsFolder},
    // Nobody may create files there, not even the superuser.
    {"a folder without write permission",
     [](const test::TempDir&) { return std::string("/sys/订单.xlsx"); }, ExcelError::NoPermission},
};

TEST(FailureTest, AFailedSaveSaysWhyAndNeverReportsSuccess) {
  for (const auto& failure : kExportFailures) {
    test::TempDir dir;
    const std::string target = failure.target(dir);
    test::ExcelHarness harness;
    harness.fake.table.AppendFilledRow({"1", L("订单一")});
    const auto before = test::TableCells(harness.fake.table);

    harness.Export(L(target));
    EXPECT_EQ(harness.Messages(),
              std::vector<std::string>{L("导出失败！") + ExcelStatus(failure.reason).Reason()})
        << failure.name;
    EXPECT_FALSE(std::filesystem::is_regular_file(target)) << failure.name;
    EXPECT_EQ(test::TableCells(harness.fake.table), before) << failure.name;
    EXPECT_EQ(harness.program.Instance(), nullptr) << failure.name;
  }
}

TEST(FailureTest, AFailedSaveKeepsTheFileItWouldHaveReplaced) {
  test::TempDir dir;
  const std::string target = dir.Path("orders.xlsx");
  test::WriteFile(target, "the merchant's earlier export");
  test::ExcelHarness harness;
  harness.fake.table.AppendFilledRow({"1", std::string(40000, 'x')});  // over 32767 characters

  harness.Export(L(target));
  EXPECT_EQ(
      harness.Messages(),
      std::vector<std::string>{L("导出失败！") + ExcelStatus(ExcelError::TextTooLong).Reason()});
  EXPECT_EQ(test::ReadFile(target), "the merchant's earlier export");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path("")),
                          std::filesystem::directory_iterator()),
            1);  // no half-written file left behind

  harness.fake.table.SetCellText(0, 1, std::string(32767, 'x'));
  harness.Export(L(target));
  EXPECT_EQ(harness.Messages().back(), L("导出成功！"));
  EXPECT_EQ(test::ReadFile(target).substr(0, 2), "PK");
}

TEST(FailureTest, ACancelledDialogSavesNothingAndSaysNothing) {
  test::TempDir dir;
  test::ExcelHarness harness;
  harness.fake.table.AppendFilledRow({"1"});
  harness.Export(std::nullopt);
  EXPECT_EQ(harness.fake.saveDialog.asked, 1);
  EXPECT_TRUE(harness.Messages().empty());
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path("")));
  EXPECT_EQ(harness.program.Instance(), nullptr);
}

}  // namespace
}  // namespace varnola
