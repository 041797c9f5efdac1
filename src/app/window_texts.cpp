#include "app/window_texts.h"

namespace varnola::texts {
namespace {

// The texts are kept with Windows line breaks as they were written; the edit boxes want "\n".
QString WithUnixLineBreaks(QString text) {
  return text.replace(QStringLiteral("\r\n"), "\n");
}

}  // namespace

QString StartCaption() {
  return QStringLiteral("Varnola商城订单管理系统 V2.0   qq:905317264");
}

QString ReleaseNotes() {
  return WithUnixLineBreaks(
      QStringLiteral("\r\n2017.1.4【更新内容】\r\n\r\n"
                     "    批量查询分类订单数据\r\n"
                     "    支持批量导入导出订单\r\n"
                     "    优化订单查询"));
}

QString HelpText() {
  return WithUnixLineBreaks(
      QStringLiteral("\r\n查询订单：先选择需要操作的订单，待获取完毕后，方可获取详情。\r\n\r\n"
                     "导出订单：鼠标右键订单表格，选择导出即可。\r\n\r\n"
                     "导入订单：将订单按导出的文档格式的EXCEL拖拽到软件表格即可。\r\n\r\n"
                     "删除订单：可选择删除选择行或者清空整个表格订单数据，鼠标右键操作。\r\n\r\n"));
}

QString MessageCaption() {
  return QStringLiteral("信息：");
}
QString ImportHint() {
  return QStringLiteral("直接将Excel表格拖到软件中");
}
QString NotYetAvailable() {
  return QStringLiteral("开发中...");
}

QString MenuExport() {
  return QStringLiteral("导出订单");
}
QString MenuImport() {
  return QStringLiteral("导入订单");
}
QString MenuShip() {
  return QStringLiteral("发货");
}
QString MenuTrack() {
  return QStringLiteral("查询当前订单物流");
}
QString MenuDeleteRow() {
  return QStringLiteral("删除本条订单");
}
QString MenuClear() {
  return QStringLiteral("清空订单");
}

}  // namespace varnola::texts
