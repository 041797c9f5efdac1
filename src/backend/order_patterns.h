#pragma once

#include <string>

#include "http/encodings.h"

namespace varnola {

// The two patterns that cut orders out of the back-end's pages, as local text. Each "\n"
// is one line feed that must meet a line feed of the page.

// One match per order row of an order-list page: seven one-line cells, an eighth cell
// whose opening tag ends its line, then the edit link with the order id.
inline const std::string& OrderListPattern() {
  static const std::string pattern =
      Utf8ToLocal(R"re(<td>(.*?)</td>[\s\S]+?<td>(.*?)</td>[\s\S]+?<td>(.*?)</td>[\s\S]+?)re"
                  R"re(<td>(.*?)</td>[\s\S]+?<td>(.*?)</td>[\s\S]+?<td>(.*?)</td>[\s\S]+?)re"
                  R"re(<td>(.*?)</td>[\s\S]+?<td>)re"
                  "\n"
                  R"re([\s\S]+?<a href="/order/edit\?id=(.*?)")re");
  return pattern;
}

// One match per order edit page, thirteen groups: the first goods row (five cells), the
// order total, payment and pick-up method, then the buyer's message, consignee,
// telephone, address and tracking number.
inline const std::string& OrderDetailPattern() {
  static const std::string pattern = Utf8ToLocal(
      R"re(<tbody>[\s\S]+?<tr>[\s\S]+?<td>(.*?)</td>[\s\S]+?)re"
      R"re(<td>(.*?)</td>[\s\S]+?<td>包装方式:(.*?)</td>)re"
      "\n"
      R"re([\s\S]+?<td>(.*?)</td>[\s\S]+?<td>(.*?)</td>[\s\S]+?</tr>[\s\S]+?)re"
      R"re(</tbody>[\s\S]+?</table>[\s\S]+? </div>[\s\S]+?</div>)re"
      "\n"
      R"re([\s\S]+?<div class="box">[\s\S]+?)re"
      R"re( <div class="box-body">订单总价：(.*?)</div>[\s\S]+?</div>[\s\S]+?)re"
      R"re(<div class="box">)re"
      "\n"
      R"re([\s\S]+?<div class="box-body">支付方式：(.*?)</div>[\s\S]+? </div>[\s\S]+?)re"
      R"re(<div class="box">)re"
      "\n"
      R"re([\s\S]+?<div class="box-body">取件方式：(.*?)</div>[\s\S]+?</div>[\s\S]+?)re"
      R"re( <div class="box">[\s\S]+?<div class="box-body">物流信息</div>[\s\S]+?)re"
      R"re(<div class="box-body">[\s\S]+?<table>[\s\S]+?<tr>[\s\S]+?)re"
      R"re(<td>买家留言：</td>[\s\S]+?<td>(.*?)</td>[\s\S]+?</tr>[\s\S]+?<tr>[\s\S]+?)re"
      R"re(<td>收 货 人：</td>[\s\S]+?<td>(.*?)</td>)re"
      "\n"
      R"re([\s\S]+?</tr>[\s\S]+?<tr>[\s\S]+?<td>联系电话：</td>[\s\S]+?)re"
      R"re(<td>(.*?)</td>[\s\S]+?</tr>[\s\S]+?<tr>[\s\S]+?<td>地址：</td>[\s\S]+?)re"
      R"re( <td>(.*?)</td>)re"
      "\n"
      R"re([\s\S]+?</tr>)re"
      "\n"
      R"re([\s\S]+?<tr>[\s\S]+?<td>物流单号：</td>[\s\S]+?<td>(.*?)</td>)re");
  return pattern;
}

}  // namespace varnola
