#include "sim/site_templates.h"

namespace varnola::sim::templates {

const std::string_view kLoginPage = R"html(<!DOCTYPE html>
<html lang="zh-CN">
<head>
    <meta charset="UTF-8">
    <meta http-equiv="X-UA-Compatible" content="IE=edge">
    <meta name="viewport" content="width=device-width, initial-scale=1">
    <meta name="csrf-param" content="_csrf-business">
    <meta name="csrf-token" content="{{csrf}}">
    <title>商户登录 - Varnola商城</title>
    <link href="/assets/bootstrap/css/bootstrap.min.css" rel="stylesheet">
    <link href="/assets/adminlte/css/AdminLTE.min.css" rel="stylesheet">
    <style>
        html, body { height: 100%; background: #d2d6de; }
        .login-box { width: 360px; margin: 7% auto; }
    </style>
</head>
<body class="hold-transition login-page">
<div class="login-box">
    <div class="login-logo"><a href="/"><b>Varnola</b>商城 商户中心</a></div>
    <div class="login-box-body">
        <p class="login-box-msg">请登录您的商户账号</p>
{{{errorBlock}}}
        <form id="login-form" action="/site/login" method="post">
            <input type="hidden" name="_csrf-business" value="{{csrf}}">
            <div class="form-group has-feedback field-businessloginfrom-username required">
                <input type="text" id="businessloginfrom-username" class="form-control" name="BusinessLoginFrom[username]" value="{{username}}" placeholder="账号" autofocus>
                <span class="glyphicon glyphicon-user form-control-feedback"></span>
            </div>
            <div class="form-group has-feedback field-businessloginfrom-password required">
                <input type="password" id="businessloginfrom-password" class="form-control" name="BusinessLoginFrom[password]" value="" placeholder="密码">
                <span class="glyphicon glyphicon-lock form-control-feedback"></span>
            </div>
            <div class="row">
                <div class="col-xs-4 col-xs-offset-8">
                    <button type="submit" class="btn btn-primary btn-block btn-flat" name="login-button">登 录</button>
                </div>
            </div>
        </form>
    </div>
</div>
<script src="/assets/jquery/jquery.min.js"></script>
<script src="/assets/bootstrap/js/bootstrap.min.js"></script>
</body>
</html>
)html";

const std::string_view kAdminLayout = R"html(<!DOCTYPE html>
<html lang="zh-CN">
<head>
    <meta charset="UTF-8">
    <meta http-equiv="X-UA-Compatible" content="IE=edge">
    <meta name="viewport" content="width=device-width, initial-scale=1">
    <meta name="csrf-param" content="_csrf-business">
    <meta name="csrf-token" content="{{csrf}}">
    <title>{{title}} - Varnola商城商户中心</title>
    <link href="/assets/bootstrap/css/bootstrap.min.css" rel="stylesheet">
    <link href="/assets/font-awesome/css/font-awesome.min.css" rel="stylesheet">
    <link href="/assets/adminlte/css/AdminLTE.min.css" rel="stylesheet">
    <style>
        .content-wrapper { min-height: 100%; }
        .table>tbody>tr>td { vertical-align: middle; }
        .store-logo img { width: 100%; max-width: 80px; border-radius: 50%; }
    </style>
</head>
<body class="hold-transition skin-blue sidebar-mini">
<div class="wrapper">
    <header class="main-header">
        <a href="/" class="logo"><span class="logo-lg"><b>Varnola</b>商户中心</span></a>
        <nav class="navbar navbar-static-top">
            <a href="#" class="sidebar-toggle" data-toggle="push-menu" role="button"><span class="sr-only">切换导航</span></a>
            <div class="navbar-custom-menu">
                <ul class="nav navbar-nav">
                    <li><a href="/site/logout" data-method="post"><i class="fa fa-sign-out"></i> 退出</a></li>
                </ul>
            </div>
        </nav>
    </header>
    <aside class="main-sidebar">
        <section class="sidebar">
            <dl class="store-panel">
                <dd class="store-logo"><p><img src="{{logoPath}}"></p><a href="business_avatar">更换店标</a></dd>
                <dd class="store-name"><a href="#" target="_blank">{{storeName}}</a></dd>
            </dl>
            <ul class="sidebar-menu" data-widget="tree">
                <li class="header">主导航</li>
                <li><a href="/"><i class="fa fa-dashboard"></i> <span>控制面板</span></a></li>
                <li class="treeview menu-open">
                    <a href="#"><i class="fa fa-list-alt"></i> <span>订单管理</span></a>
                    <ul class="treeview-menu" style="display: block;">
                        <li><a href="/order/list"><i class="fa fa-circle-o"></i> 全部订单</a></li>
                        <li><a href="/order/list?order_state=10"><i class="fa fa-circle-o"></i> 待付款</a></li>
                        <li><a href="/order/list?order_state=20"><i class="fa fa-circle-o"></i> 待发货</a></li>
                        <li><a href="/order/list?order_state=30"><i class="fa fa-circle-o"></i> 待收货</a></li>
                    </ul>
                </li>
                <li><a href="/goods/list"><i class="fa fa-cubes"></i> <span>商品管理</span></a></li>
            </ul>
        </section>
    </aside>
    <div class="content-wrapper">
{{{content}}}    </div>
    <footer class="main-footer">
        <div class="pull-right hidden-xs"><b>Version</b> 2.0</div>
        <strong>Copyright &copy; 2019 <a href="/">Varnola商城</a>.</strong> All rights reserved.
    </footer>
</div>
<script src="/assets/jquery/jquery.min.js"></script>
<script src="/assets/bootstrap/js/bootstrap.min.js"></script>
<script src="/assets/adminlte/js/adminlte.min.js"></script>
<script>
    $(function () {
        $('a[data-method="post"]').on('click', function (event) {
            event.preventDefault();
            var form = $('<form method="post"></form>').attr('action', $(this).attr('href'));
            var token = $('meta[name="csrf-token"]').attr('content');
            form.append($('<input type="hidden" name="_csrf-business">').val(token));
            form.appendTo('body').submit();
        });
    });
</script>
</body>
</html>
)html";

const std::string_view kDashboard = R"html(    <section class="content-header">
        <h1>欢迎来到Varnola商城!<small>控制面板</small></h1>
        <ol class="breadcrumb"><li><a href="/"><i class="fa fa-dashboard"></i> 首页</a></li><li class="active">控制面板</li></ol>
    </section>
    <section class="content">
        <div class="row">
            <div class="col-lg-3 col-xs-6">
                <div class="small-box bg-aqua">
                    <div class="inner">
                        <h3>{{awaitingPayment}}</h3>
                        <p>待付款</p>
                    </div>
                    <div class="icon"><i class="ion ion-card"></i></div>
                    <a href="/order/list?order_state=10" class="small-box-footer">查看详情 <i class="fa fa-arrow-circle-right"></i></a>
                </div>
            </div>
            <div class="col-lg-3 col-xs-6">
                <div class="small-box bg-green">
                    <div class="inner">
                        <h3>{{awaitingShipment}}</h3>
                        <p>待发货</p>
                    </div>
                    <div class="icon"><i class="ion ion-cube"></i></div>
                    <a href="/order/list?order_state=20" class="small-box-footer">查看详情 <i class="fa fa-arrow-circle-right"></i></a>
                </div>
            </div>
            <div class="col-lg-3 col-xs-6">
                <div class="small-box bg-yellow">
                    <div class="inner">
                        <h3>{{awaitingReceipt}}</h3>
                        <p>待收货</p>
                    </div>
                    <div class="icon"><i class="ion ion-android-car"></i></div>
                    <a href="/order/list?order_state=30" class="small-box-footer">查看详情 <i class="fa fa-arrow-circle-right"></i></a>
                </div>
            </div>
            <div class="col-lg-3 col-xs-6">
                <div class="small-box bg-red">
                    <div class="inner">
                        <h3>{{allOrders}}</h3>
                        <p>总订单</p>
                    </div>
                    <div class="icon"><i class="ion ion-stats-bars"></i></div>
                    <a href="/order/list" class="small-box-footer">查看详情 <i class="fa fa-arrow-circle-right"></i></a>
                </div>
            </div>
        </div>
        <div class="row">
            <div class="col-md-4">
                <div class="box box-solid">
                    <div class="box-header with-border"><h3 class="box-title">商品概况</h3></div>
                    <div class="box-body no-padding">
                        <ul class="nav nav-stacked">
                            <li><a href="/goods/list?goods_state=1">
                            <span class="badge bg-green">{{onSale}}</span>
                            <i class="fa fa-barcode"></i> 销售中商品
                            </a></li>
                            <li><a href="/goods/list?goods_state=10">
                            <span class="badge bg-red">{{withdrawn}}</span>
                            <i class="fa fa-download"></i> 违规下架
                            </a></li>
                            <li><a href="/goods/list?goods_state=0">
                            <span class="badge bg-purple">{{inReview}}</span>
                            <i class="fa fa-sellsy"></i> 待审待商品
                            </a></li>
                            <li><a href="/goods/list?goods_state=2">
                            <span class="badge bg-aqua">{{inWarehouse}}</span>
                            <i class="fa  fa-home"></i> 仓库中商品
                            </a></li>
                        </ul>
                    </div>
                </div>
            </div>
            <div class="col-md-8">
                <div class="box box-solid">
                    <div class="box-header with-border"><h3 class="box-title">订单完成率</h3></div>
                    <div class="box-body">
                        <div class="progress"><div class="progress-bar progress-bar-green" style="width: {{doneShare}}%"></div></div>
                        <p>已完成 {{doneShare}}% 的订单</p>
                    </div>
                </div>
            </div>
        </div>
    </section>
)html";

const std::string_view kOrderList = R"html(    <section class="content-header">
        <h1>订单列表<small>{{stateName}}</small></h1>
    </section>
    <section class="content">
        <div class="box">
            <div class="box-header with-border">
                <form id="order-search" class="form-inline" action="/order/list" method="get">
                    <select name="order_state" class="form-control" style="width: 160px">
                        <option value="">全部订单</option>
                        <option value="10">待付款</option>
                        <option value="20">待发货</option>
                        <option value="30">待收货</option>
                        <option value="40">已完成</option>
                    </select>
                    <button type="submit" class="btn btn-default"><i class="fa fa-search"></i> 筛选</button>
                </form>
            </div>
            <div class="box-body table-responsive no-padding">
                <table class="table table-hover table-bordered" style="width:100%">
                    <thead>
                    <tr>
                        <th>订单号</th>
                        <th>会员</th>
                        <th>店铺</th>
                        <th>订单总额</th>
                        <th>支付金额</th>
                        <th>支付时间</th>
                        <th>状态</th>
                        <th style="width: 8%">操作</th>
                    </tr>
                    </thead>
                    <tbody>
{{{rows}}}                    </tbody>
                </table>
            </div>
            <div class="box-footer clearfix">共 <b>{{count}}</b> 笔订单</div>
        </div>
    </section>
)html";

const std::string_view kOrderListRow = R"html(                    <tr>
                        <td>{{orderNo}}</td>
                        <td>{{member}}</td>
                        <td>{{store}}</td>
                        <td>{{orderTotal}}</td>
                        <td>{{payAmount}}</td>
                        <td>{{payTime}}</td>
                        <td>{{stateText}}</td>
                        <td>
                            <a href="/order/edit?id={{id}}" class="btn btn-xs btn-info">查看</a>
                        </td>
                    </tr>
)html";

const std::string_view kNoOrdersRow = R"html(                    <tr>
                        <td colspan="8" class="text-center">暂无订单</td>
                    </tr>
)html";

const std::string_view kOrderDetail = R"html(    <section class="content-header">
        <h1>订单详情<small>{{orderNo}}</small></h1>
    </section>
    <section class="content">
        <div class="row">
            <div class="col-md-12">
                <div class="box box-info">
                    <div class="box-header with-border"><h3 class="box-title">订单信息</h3></div>
                    <div class="box-body">
                        <dl class="dl-horizontal">
                            <dt>订单号</dt><dd>{{orderNo}}</dd>
                            <dt>会员</dt><dd>{{member}}</dd>
                            <dt>订单状态</dt><dd>{{stateText}}</dd>
                            <dt>支付时间</dt><dd>{{payTime}}</dd>
                        </dl>
                    </div>
                </div>
            </div>
        </div>
        <div class="row">
            <div class="col-md-12">
                <div class="box box-primary">
                    <div class="box-header with-border"><h3 class="box-title">商品信息</h3></div>
                    <div class="box-body table-responsive no-padding">
                        <table class="table table-bordered" style="width:100%">
                            <thead>
                            <tr>
                                <th>商品名称</th>
                                <th style="width: 10%">数量</th>
                                <th>规格</th>
                                <th>单价</th>
                                <th>总价</th>
                            </tr>
                            </thead>
                            <tbody>
                            <tr>
                                <td>{{goods}}</td>
                                <td>{{quantity}}</td>
                                <td>包装方式:{{packaging}}</td>
                                <td>{{unitPrice}}</td>
                                <td>{{totalPrice}}</td>
                            </tr>
                            </tbody>
                        </table>
                    </div>
                </div>
            </div>
        </div>
        <div class="row">
            <div class="col-md-4">
                <div class="box">
                    <div class="box-header with-border"><h3 class="box-title">订单总价</h3></div>
                    <div class="box-body">订单总价：{{detailTotal}}</div>
                </div>
            </div>
            <div class="col-md-4">
                <div class="box">
                    <div class="box-header with-border"><h3 class="box-title">支付方式</h3></div>
                    <div class="box-body">支付方式：{{payMethod}}</div>
                </div>
            </div>
            <div class="col-md-4">
                <div class="box">
                    <div class="box-header with-border"><h3 class="box-title">取件方式</h3></div>
                    <div class="box-body">取件方式：{{pickupMethod}}</div>
                </div>
            </div>
        </div>
        <div class="row">
            <div class="col-md-12">
                <div class="box">
                    <div class="box-body">物流信息</div>
                    <div class="box-body">
                        <table>
                            <tr>
                                <td>买家留言：</td>
                                <td>{{message}}</td>
                            </tr>
                            <tr>
                                <td>收 货 人：</td>
                                <td>{{consignee}}</td>
                            </tr>
                            <tr>
                                <td>联系电话：</td>
                                <td>{{telephone}}</td>
                            </tr>
                            <tr>
                                <td>地址：</td>
                                <td>{{address}}</td>
                            </tr>
                            <tr>
                                <td>物流单号：</td>
                                <td>{{trackingNo}}</td>
                            </tr>
                        </table>
                    </div>
                </div>
            </div>
        </div>
    </section>
)html";

const std::string_view kMissingOrder = R"html(    <section class="content-header">
        <h1>订单详情</h1>
    </section>
    <section class="content">
        <div class="callout callout-warning">
            <h4>订单不存在</h4>
            <p>编号为 {{id}} 的订单不存在或已被删除。</p>
        </div>
    </section>
)html";

const std::string_view kNotFound = R"html(<!DOCTYPE html>
<html lang="zh-CN">
<head>
    <meta charset="UTF-8">
    <title>Not Found (#404)</title>
</head>
<body>
<h1>Not Found (#404)</h1>
<p>页面未找到。</p>
</body>
</html>
)html";

}  // namespace varnola::sim::templates
