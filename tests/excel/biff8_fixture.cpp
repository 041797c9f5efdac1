#include "excel/biff8_fixture.h"

#include <algorithm>
#include <cstring>

#include "http/encodings.h"

namespace varnola::test {
namespace {

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFreeSector = 0xFFFFFFFF;
constexpr std::uint32_t kFatSector = 0xFFFFFFFD;
constexpr std::size_t kSectorSize = 512;
constexpr std::size_t kMiniStreamCutoff = 4096;

class Bytes {
 public:
  void U8(std::uint8_t v) { m_data.push_back(static_cast<char>(v)); }
  void U16(std::uint16_t v) { U8(v & 0xFF), U8(v >> 8); }
  void U32(std::uint32_t v) { U16(v & 0xFFFF), U16(v >> 16); }
  void F64(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    U32(static_cast<std::uint32_t>(bits)), U32(static_cast<std::uint32_t>(bits >> 32));
  }
  void Raw(const std::string& bytes) { m_data += bytes; }
  void Record(std::uint16_t type, const Bytes& body) {
    U16(type), U16(static_cast<std::uint16_t>(body.Size())), Raw(body.m_data);
  }
  void PadTo(std::size_t size, char fill = '\0') { m_data.resize(std::max(size, Size()), fill); }
  std::size_t Size() const { return m_data.size(); }
  const std::string& Data() const { return m_data; }
  void PatchU32(std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) m_data[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  }

 private:
  std::string m_data;
};

Bytes Bof(std::uint16_t kind) {
  Bytes b;
  b.U16(0x0600), b.U16(kind), b.U16(0x0DBB), b.U16(0x07CC), b.U32(0), b.U32(0x0006);
  return b;
}

Bytes CellHeader(const BiffCell& cell, std::uint16_t style) {
  Bytes b;
  b.U16(cell.row), b.U16(cell.column), b.U16(style);
  return b;
}

Bytes WorksheetStream(const std::vector<BiffCell>& cells, const std::vector<std::string>& texts) {
  Bytes sheet;
  sheet.Record(0x0809, Bof(0x0010));
  std::uint16_t rows = 0, columns = 0;
  for (const auto& c : cells) {
    rows = std::max<std::uint16_t>(rows, c.row + 1);
    columns = std::max<std::uint16_t>(columns, c.column + 1);
  }
  Bytes dimensions;
  dimensions.U32(0), dimensions.U32(rows), dimensions.U16(0), dimensions.U16(columns);
  dimensions.U16(0);
  sheet.Record(0x0200, dimensions);
  for (const auto& c : cells) {
    using Kind = BiffCell::Kind;
    Bytes body = CellHeader(c, c.kind == Kind::Date ? 1 : c.kind == Kind::DateTime ? 2 : 0);
    switch (c.kind) {
      case Kind::Text: {
        const auto index = std::find(texts.begin(), texts.end(), c.utf8) - texts.begin();
        body.U32(static_cast<std::uint32_t>(index));
        sheet.Record(0x00FD, body);  // LABELSST
        break;
      }
      case Kind::Number:
      case Kind::Date:
      case Kind::DateTime:
        body.F64(c.number);
        sheet.Record(0x0203, body);  // NUMBER
        break;
      case Kind::Integer:
        body.U32(static_cast<std::uint32_t>(static_cast<std::int32_t>(c.number)) << 2 | 0x02);
        sheet.Record(0x027E, body);  // RK
        break;
      case Kind::Boolean:
        body.U8(c.number != 0), body.U8(0);
        sheet.Record(0x0205, body);  // BOOLERR
        break;
    }
  }
  sheet.Record(0x000A, Bytes());
  return sheet;
}

Bytes SharedStrings(const std::vector<std::string>& texts) {
  Bytes sst;
  sst.U32(static_cast<std::uint32_t>(texts.size())),
      sst.U32(static_cast<std::uint32_t>(texts.size()));
  for (const auto& text : texts) {
    const std::u16string units = ToWideText(text, kCodePageUtf8);
    sst.U16(static_cast<std::uint16_t>(units.size())), sst.U8(0x01);  // UTF-16 characters
    for (char16_t unit : units) sst.U16(unit);
  }
  return sst;
}

// The workbook stream: globals (with padding so the stream needs no mini stream), then
// the one worksheet.
std::string WorkbookStream(const std::vector<BiffCell>& cells) {
  std::vector<std::string> texts;
  for (const auto& c : cells) {
    if (c.kind == BiffCell::Kind::Text &&
        std::find(texts.begin(), texts.end(), c.utf8) == texts.end()) {
      texts.push_back(c.utf8);
    }
  }
  const Bytes sheet = WorksheetStream(cells, texts);

  Bytes globals;
  globals.Record(0x0809, Bof(0x0005));
  Bytes codePage;
  codePage.U16(0x04B0);
  globals.Record(0x0042, codePage);
  for (std::uint16_t format : {0, 14, 22}) {  // cell styles: General, date, date and time
    Bytes xf;
    xf.U16(0), xf.U16(format);
    xf.PadTo(20);
    globals.Record(0x00E0, xf);
  }
  Bytes boundSheet;
  boundSheet.U32(0), boundSheet.U8(0), boundSheet.U8(0), boundSheet.U8(6), boundSheet.U8(0);
  boundSheet.Raw("Sheet1");
  const std::size_t offsetField = globals.Size() + 4;
  globals.Record(0x0085, boundSheet);
  globals.Record(0x00FC, SharedStrings(texts));
  const std::size_t unpadded = globals.Size() + 4 + 4 + sheet.Size();
  if (unpadded < kMiniStreamCutoff + 4) {
    Bytes padding;
    padding.PadTo(kMiniStreamCutoff + 4 - unpadded);
    globals.Record(0x00E1, padding);  // a record readers skip
  }
  globals.Record(0x000A, Bytes());
  globals.PatchU32(offsetField, static_cast<std::uint32_t>(globals.Size()));
  return globals.Data() + sheet.Data();
}

Bytes DirectoryEntry(const std::u16string& name, std::uint8_t type, std::uint32_t child,
                     std::uint32_t start, std::uint32_t size) {
  Bytes e;
  for (char16_t unit : name) e.U16(unit);
  e.PadTo(64);
  e.U16(name.empty() ? 0 : static_cast<std::uint16_t>((name.size() + 1) * 2));
  e.U8(type), e.U8(1);
  e.U32(kFreeSector), e.U32(kFreeSector), e.U32(child);
  e.PadTo(116);
  e.U32(start), e.U32(size), e.U32(0);
  return e;
}

}  // namespace

std::string Biff8Workbook(const std::vector<BiffCell>& cells) {
  const std::string stream = WorkbookStream(cells);
  const auto streamSectors =
      static_cast<std::uint32_t>((stream.size() + kSectorSize - 1) / kSectorSize);

  Bytes file;
  file.Raw(std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
  file.PadTo(24);
  file.U16(0x003E), file.U16(0x0003), file.U16(0xFFFE), file.U16(9), file.U16(6);
  file.PadTo(40);
  file.U32(0), file.U32(1), file.U32(1), file.U32(0);  // one FAT sector, directory at 1
  file.U32(kMiniStreamCutoff), file.U32(kEndOfChain), file.U32(0), file.U32(kEndOfChain);
  file.U32(0);
  file.U32(0);  // the FAT is sector 0
  while (file.Size() < kSectorSize) file.U32(kFreeSector);

  Bytes fat;  // sector 0
  fat.U32(kFatSector), fat.U32(kEndOfChain);
  for (std::uint32_t s = 0; s < streamSectors; ++s) {
    fat.U32(s + 1 == streamSectors ? kEndOfChain : s + 3);
  }
  while (fat.Size() < kSectorSize) fat.U32(kFreeSector);
  file.Raw(fat.Data());

  Bytes directory;  // sector 1
  directory.Raw(DirectoryEntry(u"Root Entry", 5, 1, kEndOfChain, 0).Data());
  directory.Raw(
      DirectoryEntry(u"Workbook", 2, kFreeSector, 2, static_cast<std::uint32_t>(stream.size()))
          .Data());
  directory.Raw(DirectoryEntry(u"", 0, kFreeSector, 0, 0).Data());
  directory.Raw(DirectoryEntry(u"", 0, kFreeSector, 0, 0).Data());
  file.Raw(directory.Data());

  Bytes data;
  data.Raw(stream);
  data.PadTo(streamSectors * kSectorSize);
  file.Raw(data.Data());
  return file.Data();
}

}  // namespace varnola::test
