#include "backend/sign_in.h"

#include <array>

#include "backend/html_text.h"
#include "backend/query_encoding.h"
#include "http/encodings.h"
#include "http/local_text.h"
#include "http/text_between.h"
#include "http/web_request.h"

namespace varnola {
namespace {

struct Markers {
  const char* left;
  const char* right;
};

// The dashboard's figures, in the order they are read. The blanks after each line feed
// are part of the page's layout and of what must be met.
struct Figure {
  Label label;
  const char* prefix;
  Markers markers;
};

constexpr Markers kCsrfToken = {"csrf-token\" content=\"", "\">\n    <title>商户"};
constexpr Markers kLogoPath = {"<dd class=\"store-logo\"><p><img src=\"",
                               "\"></p><a href=\"business_av"};
constexpr Markers kStoreName = {"ref=\"#\" target=\"_blank\">", "</a></dd>"};

constexpr std::array<Figure, 8> kFigures = {{
    {Label::AwaitingPaymentCount, "",
     {"<h3>", "</h3>\n                        <p>待付款</p>"}},
    {Label::AwaitingShipmentCount, "",
     {"<div class=\"small-box bg-green\">\n                    <div class=\"inner\">\n"
      "                        <h3>",
      "</h3>\n                        <p>待发货</p>"}},
    {Label::AwaitingReceiptCount, "",
     {"yellow\">\n                    <div class=\"inner\">\n                        <h3>",
      "</h3>\n                        <p>待收货</p>\n"}},
    {Label::AllOrdersCount, "",
     {"<div class=\"small-box bg-red\">\n                    <div class=\"inner\">\n"
      "                        <h3>",
      "</h3>\n                        <p>总订单</p>"}},
    {Label::GoodsOnSale, "销售中：",
     {"badge bg-green\">",
      "</span>\n                            <i class=\"fa fa-barcode\"></i> 销售中商品"}},
    {Label::GoodsWithdrawn, "违规下架：",
     {"lass=\"badge bg-red\">",
      "</span>\n                            <i class=\"fa fa-download\"></i> 违规下架"}},
    {Label::GoodsAwaitingReview, "待审核：",
     {"=\"badge bg-purple\">",
      "</span>\n                            <i class=\"fa fa-sellsy\"></i> 待审待"}},
    {Label::GoodsInWarehouse, "仓库中：",
     {"an class=\"badge bg-aqua\">",
      "</span>\n                            <i class=\"fa  fa-home\"></i> 仓库中商品\n"}},
}};

constexpr const char* kSuccessMarker = "欢迎来到Varnola商城!";
constexpr const char* kFailureText = "哎哟喂！你是不是账号密码输入错误啦！呜呜";
constexpr const char* kCaptionPrefix =
    "Varnola商城订单管理系统 V2.0   qq:905317264          欢迎您！  ";

// A value cut out of a page: the back-end escapes what it prints, so character
// references are resolved once the markers have matched.
std::string Cut(const std::string& page, const Markers& markers) {
  return DecodeHtmlEntities(
      TextBetween(page, Utf8ToLocal(markers.left), Utf8ToLocal(markers.right)));
}

std::string FetchPage(const std::string& url, int method = 0, const std::string& postText = {}) {
  return UrlDecode(BodyText(WebRequest(url, method, postText)), true);
}

// The form as a browser posts this UTF-8 page: every value percent-encoded, so a password
// holding "&", "=", "+" or "%" arrives as typed and a Chinese account name arrives in the
// page's own encoding.
std::string LoginFormText(const std::string& token, const std::string& account,
                          const std::string& password) {
  return "_csrf-business=" + EncodeQueryValue(token, true) +
         "&BusinessLoginFrom[username]=" + EncodeQueryValue(account, true) +
         "&BusinessLoginFrom[password]=" + EncodeQueryValue(password, true) +
         "&login-button=&login-button=";
}

std::string SuccessSummary(const std::string& storeName, MainWindowOps& window) {
  return Utf8ToLocal("登录成功！") + storeName + Utf8ToLocal("欢迎您的使用！待付款订单：") +
         window.LabelText(Label::AwaitingPaymentCount) + Utf8ToLocal("笔！待发货订单：") +
         window.LabelText(Label::AwaitingShipmentCount) + Utf8ToLocal("笔！待收货订单：") +
         window.LabelText(Label::AwaitingReceiptCount) + Utf8ToLocal("笔！总订单：") +
         window.LabelText(Label::AllOrdersCount) + Utf8ToLocal("笔！");
}

}  // namespace

bool SignIn(Frontend& ui, const AppConfig& config, MerchantSession& session) {
  const std::string loginUrl = "http://" + config.backendHost + "/site/login";

  ui.announcer.Announce(Utf8ToLocal("登录中...请稍后"));
  ui.window.SetProgress(10);
  session.pageText = FetchPage(loginUrl);
  ui.window.SetProgress(20);
  session.csrfToken = Cut(session.pageText, kCsrfToken);
  session.loginFormText =
      LoginFormText(session.csrfToken, ui.window.AccountText(), ui.window.PasswordText());
  session.pageText = FetchPage(loginUrl, 1, session.loginFormText);
  ui.window.SetProgress(50);

  session.logoPath = Cut(session.pageText, kLogoPath);
  ui.window.SetPicture(WebRequest("http://" + config.imageHost + "/" + session.logoPath));
  ui.window.SetProgress(78);

  const bool signedIn = ContainsText(session.pageText, Utf8ToLocal(kSuccessMarker));
  if (!signedIn) {
    session.statusText = Utf8ToLocal(kFailureText);
    ui.announcer.Announce(session.statusText);
  } else {
    ui.window.SetProgress(90);
    for (const Figure& figure : kFigures) {
      ui.window.SetLabelText(figure.label,
                             Utf8ToLocal(figure.prefix) + Cut(session.pageText, figure.markers));
    }
    session.statusText = SuccessSummary(Cut(session.pageText, kStoreName), ui.window);
    ui.announcer.Announce(session.statusText);
    for (Button button : {Button::AllOrders, Button::AwaitingPayment, Button::AwaitingShipment,
                          Button::AwaitingReceipt}) {
      ui.window.EnableButton(button);
    }
  }

  ui.window.SetCaption(Utf8ToLocal(kCaptionPrefix) + Cut(session.pageText, kStoreName));
  ui.window.SetProgress(100);
  return signedIn;
}

}  // namespace varnola
