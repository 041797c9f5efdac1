#include "backend/sign_in.h"

#include <gtest/gtest.h>

#include "sim_fixture.h"

namespace varnola {
namespace {

using test::L;

class SignInTest : public test::SimFixture {
 protected:
  bool SignInAs(const std::string& account, const std::string& password) {
    fake.window.account = L(account);
    fake.window.password = L(password);
    Frontend ui = fake.Get();
    return SignIn(ui, config, session);
  }

  MerchantSession session;
};

TEST_F(SignInTest, ShowsTheDashboardAndEnablesTheOrderButtons) {
  StartSim();
  ASSERT_TRUE(SignInAs("demo", "demo123"));

  const sim::SimData& data = server().data();
  const std::string counts[] = {
      std::to_string(data.CountInState(sim::kAwaitingPayment)),
      std::to_string(data.CountInState(sim::kAwaitingShipment)),
      std::to_string(data.CountInState(sim::kAwaitingReceipt)),
      std::to_string(data.orders.size())};
  EXPECT_EQ(fake.window.LabelText(Label::AwaitingPaymentCount), counts[0]);
  EXPECT_EQ(fake.window.LabelText(Label::AwaitingShipmentCount), counts[1]);
  EXPECT_EQ(fake.window.LabelText(Label::AwaitingReceiptCount), counts[2]);
  EXPECT_EQ(fake.window.LabelText(Label::AllOrdersCount), counts[3]);
  EXPECT_EQ(fake.window.LabelText(Label::GoodsOnSale),
            L("销售中：" + std::to_string(data.store.goodsOnSale)));
  EXPECT_EQ(fake.window.LabelText(Label::GoodsInWarehouse),
            L("仓库中：" + std::to_string(data.store.goodsInWarehouse)));

  const std::string store = data.store.name;
  EXPECT_EQ(fake.announcer.Texts(),
            (std::vector<std::string>{
                L("登录中...请稍后"),
                L("登录成功！" + store + "欢迎您的使用！待付款订单：" + counts[0] +
                  "笔！待发货订单：" + counts[1] + "笔！待收货订单：" + counts[2] +
                  "笔！总订单：" + counts[3] + "笔！")}));
  EXPECT_EQ(fake.window.Caption(),
            L("Varnola商城订单管理系统 V2.0   qq:905317264          欢迎您！  " + store));
  EXPECT_EQ(fake.window.Progress(), (std::vector<int>{10, 20, 50, 78, 90, 100}));
  EXPECT_EQ(fake.window.EnabledButtons(),
            (std::vector<Button>{Button::AllOrders, Button::AwaitingPayment,
                                 Button::AwaitingShipment, Button::AwaitingReceipt}));
  const ByteBuffer logo = fake.window.Picture();
  ASSERT_GE(logo.size(), 8u);
  EXPECT_EQ(std::string(logo.begin(), logo.begin() + 4), "\x89PNG");
}

TEST_F(SignInTest, AWrongPasswordIsAnnouncedAndEnablesNothing) {
  StartSim();
  EXPECT_FALSE(SignInAs("demo", "wrong"));
  EXPECT_EQ(fake.announcer.Texts().back(), L("哎哟喂！你是不是账号密码输入错误啦！呜呜"));
  EXPECT_EQ(fake.window.Progress(), (std::vector<int>{10, 20, 50, 78, 100}));
  EXPECT_TRUE(fake.window.EnabledButtons().empty());
  EXPECT_EQ(fake.window.LabelText(Label::AllOrdersCount), "");
  EXPECT_EQ(fake.window.PictureSets(), 1);  // the logo request is made either way
}

TEST_F(SignInTest, AnUnreachableBackEndLeavesTheCaptionPrefixAlone) {
  StartSim();
  config.backendHost = "127.0.0.1:1";
  config.imageHost = "127.0.0.1:1";
  EXPECT_FALSE(SignInAs("demo", "demo123"));
  EXPECT_EQ(fake.announcer.Texts().back(), L("哎哟喂！你是不是账号密码输入错误啦！呜呜"));
  EXPECT_EQ(fake.window.Caption(),
            L("Varnola商城订单管理系统 V2.0   qq:905317264          欢迎您！  "));
  EXPECT_TRUE(fake.window.Picture().empty());
}

TEST_F(SignInTest, PasswordsAndAccountsArriveAsTyped) {
  sim::SimOptions options;
  options.account = "店主&co";
  options.password = "p&ss=w+rd%41 中";
  StartSim(options);
  EXPECT_TRUE(SignInAs("店主&co", "p&ss=w+rd%41 中"));
}

}  // namespace
}  // namespace varnola
