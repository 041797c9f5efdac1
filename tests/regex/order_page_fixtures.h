#pragma once

// Back-end pages in the admin template's look, as the site sends them (UTF-8), for the
// tests and benchmarks of the order patterns.

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace varnola::test {

// `text` with each "@@" replaced by the next of `values`.
inline std::string Fill(std::string_view text, std::initializer_list<std::string_view> values) {
  std::string out;
  auto value = values.begin();
  for (std::size_t at = text.find("@@"); at != std::string_view::npos && value != values.end();
       at = text.find("@@")) {
    out.append(text.substr(0, at)).append(*value++);
    text.remove_prefix(at + 2);
  }
  return out.append(text);
}

inline std::string PageHead(std::string_view title) {
  return Fill(R"(<!DOCTYPE html>
<html>
<head>
  <meta charset="utf-8">
  <title>@@ - Varnola商城商家中心</title>
  <link rel="stylesheet" href="/static/css/bootstrap.min.css">
  <link rel="stylesheet" href="/static/css/AdminLTE.min.css">
  <style>.progress{width:100%}</style>
</head>
<body class="hold-transition skin-blue sidebar-mini">
<div class="wrapper">
  <header class="main-header">
    <a href="/" class="logo"><b>Varnola</b>商家中心</a>
    <nav class="navbar navbar-static-top">
      <ul class="nav navbar-nav"><li><a href="/site/logout">退出</a></li></ul>
    </nav>
  </header>
  <aside class="main-sidebar">
    <ul class="sidebar-menu">
      <li><a href="/">首页</a></li>
      <li class="active"><a href="/order/list">订单管理</a></li>
      <li><a href="/order/list?order_state=10">待付款</a></li>
      <li><a href="/order/list?order_state=20">待发货</a></li>
      <li><a href="/goods/list">商品管理</a></li>
    </ul>
  </aside>
  <div class="content-wrapper">
)",
              {title});
}

inline std::string PageTail() {
  return R"(  </div>
  <footer class="main-footer">Copyright &copy; 2024 Varnola</footer>
</div>
<script src="/static/js/jquery.min.js"></script>
<script>
$(function () { $('.sidebar-menu').tree(); });
</script>
</body>
</html>
)";
}

struct ListOrder {
  std::string number, member, store, total, paid, paidAt, state, id;
};

inline ListOrder SampleListOrder(int i) {
  const std::string n = std::to_string(i);
  return {std::to_string(20240521000000 + i),
          "buyer" + n,
          "Varnola旗舰店",
          std::to_string(100 + i % 50) + ".00",
          std::to_string(90 + i % 50) + ".50",
          "2024-05-21 10:" + std::to_string(10 + i % 50) + ":02",
          "待发货",
          std::to_string(70000 + i)};
}

inline std::string OrderRow(const ListOrder& o) {
  return Fill(R"(          <tr>
            <td>@@</td>
            <td>@@</td>
            <td>@@</td>
            <td>@@</td>
            <td>@@</td>
            <td>@@</td>
            <td>@@</td>
            <td>
              <a href="/order/edit?id=@@" class="btn btn-xs btn-info">详情</a>
            </td>
          </tr>
)",
              {o.number, o.member, o.store, o.total, o.paid, o.paidAt, o.state, o.id});
}

// An order list: a header row of <th> cells, one row per order, the pager.
inline std::string OrderListPage(const std::vector<ListOrder>& orders) {
  std::string page = PageHead("订单列表");
  page += R"(    <section class="content">
      <div class="box">
        <div class="box-body">
        <table class="table table-bordered table-hover">
          <thead>
          <tr>
            <th>订单号</th><th>会员</th><th>店铺</th><th>订单总额</th>
            <th>支付金额</th><th>支付时间</th><th>状态</th><th>操作</th>
          </tr>
          </thead>
          <tbody>
)";
  for (const ListOrder& order : orders) page += OrderRow(order);
  page += R"(          </tbody>
        </table>
        </div>
        <ul class="pagination"><li class="active"><a href="/order/list?page=1">1</a></li></ul>
      </div>
    </section>
)";
  return page + PageTail();
}

// The thirteen fields of an order page, in the order the page shows them.
using OrderDetails = std::array<std::string, 13>;

inline OrderDetails SampleDetails() {
  return {"有机富硒大米 5kg",
          "2",
          "礼盒装",
          "59.90",
          "119.80",
          "119.80",
          "微信支付",
          "快递配送",
          "请尽快发货，谢谢！",
          "张三",
          "13800138000",
          "浙江省杭州市西湖区文三路 90 号 𠮷野家楼上",
          "YT1234567890123"};
}

inline std::string GoodsRow(std::string_view name, std::string_view count, std::string_view packing,
                            std::string_view price, std::string_view sum) {
  return Fill(R"(                <tr>
                  <td>@@</td>
                  <td>@@</td>
                  <td>包装方式:@@</td>
                  <td>@@</td>
                  <td>@@</td>
                </tr>
)",
              {name, count, packing, price, sum});
}

inline std::string InfoRow(std::string_view label, std::string_view value) {
  return Fill(R"(                  <tr>
                    <td>@@</td>
                    <td>@@</td>
                  </tr>
)",
              {label, value});
}

// An order edit page. `extraGoods` more goods rows follow the first; about `padding` bytes
// of script (the page's plug-in code) stand between the order and the page's end.
inline std::string OrderDetailPage(const OrderDetails& f, int extraGoods = 0,
                                   std::size_t padding = 0) {
  std::string page = PageHead("订单详情");
  page += R"(    <section class="content">
      <div class="row">
        <div class="col-md-12">
          <div class="box">
            <div class="box-header"><h3 class="box-title">商品信息</h3></div>
            <div class="box-body">
              <table class="table table-bordered">
                <thead>
                <tr><th>商品</th><th>数量</th><th>规格</th><th>单价</th><th>总价</th></tr>
                </thead>
                <tbody>
)";
  page += GoodsRow(f[0], f[1], f[2], f[3], f[4]);
  for (int i = 0; i < extraGoods; ++i) {
    page += GoodsRow("赠品 " + std::to_string(i + 1) + " 号", "1", "散装", "0.00", "0.00");
  }
  page += Fill(R"(                </tbody>
              </table>
            </div>
          </div>
        </div>
      </div>
      <div class="row">
        <div class="col-md-4">
          <div class="box">
            <div class="box-body">订单总价：@@</div>
          </div>
        </div>
        <div class="col-md-4">
          <div class="box">
            <div class="box-body">支付方式：@@</div>
          </div>
        </div>
        <div class="col-md-4">
          <div class="box">
            <div class="box-body">取件方式：@@</div>
          </div>
        </div>
      </div>
      <div class="row">
        <div class="col-md-12">
          <div class="box">
            <div class="box-body">物流信息</div>
            <div class="box-body">
              <table>
)",
               {f[5], f[6], f[7]});
  page += InfoRow("买家留言：", f[8]);
  page += InfoRow("收 货 人：", f[9]);
  page += InfoRow("联系电话：", f[10]);
  page += InfoRow("地址：", f[11]);
  page += InfoRow("物流单号：", f[12]);
  page += R"(              </table>
            </div>
          </div>
        </div>
      </div>
    </section>
)";
  if (padding > 0) {
    constexpr std::string_view kLine =
        "      $('#order-edit').find('.box-body').css({padding: '10px'}).show();\n";
    page += "    <script>\n";
    for (std::size_t added = 0; added < padding; added += kLine.size()) page += kLine;
    page += "    </script>\n";
  }
  return page + PageTail();
}

}  // namespace varnola::test
