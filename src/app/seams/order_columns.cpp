#include "app/seams/order_columns.h"

#include "http/encodings.h"

namespace varnola {

const std::vector<std::string>& OrderColumnTitles() {
  static const std::vector<std::string> titles = [] {
    const char* utf8[kOrderColumnCount] = {
        "序号",   "订单号",   "会员",     "店铺", "订单总额", "支付金额", "支付时间", "状态",
        "ID",     "商品",     "数量",     "规格", "单价",     "总价",     "支付金额", "支付方式",
        "取件方式", "留言", "收货人", "电话", "地址",     "快递单号", "备用"};
    std::vector<std::string> local;
    for (const char* title : utf8) local.push_back(Utf8ToLocal(title));
    return local;
  }();
  return titles;
}

}  // namespace varnola
