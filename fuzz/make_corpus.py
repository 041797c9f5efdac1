#!/usr/bin/python3
"""Writes the seed inputs of the fuzz targets that are made from text, workbooks written
by openpyxl and hand-built packages. Run it from anywhere; it rewrites corpus/<target>/.
The .xls and order page seeds come from the test fixtures (tests/excel/biff8_fixture.cpp,
tests/regex/order_page_fixtures.h) and are kept as they are."""

import io
import os
import struct
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
MAIN = 'http://schemas.openxmlformats.org/spreadsheetml/2006/main'
REL = 'http://schemas.openxmlformats.org/officeDocument/2006/relationships'
PKG = 'http://schemas.openxmlformats.org/package/2006/relationships'


def gbk(text):
    return text.encode('gb18030')


def put(target, name, data):
    folder = os.path.join(HERE, 'corpus', target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(data if isinstance(data, bytes) else data.encode('utf-8'))


def strings(*parts):
    """The layout FuzzedDataProvider reads with ConsumeRandomLengthString: each string
    with its backslashes doubled and ended by a backslash and another byte; the last
    part is the rest of the input."""
    out = b''
    for part in parts[:-1]:
        out += part.replace(b'\\', b'\\\\') + b'\\|'
    return out + parts[-1]


def tail(*integers):
    """Integers FuzzedDataProvider takes from the end of the input, first taken first:
    (value, byte count)."""
    out = b''
    for value, count in integers:
        out = value.to_bytes(count, 'little') + out
    return out


def text_between():
    q = gbk('#引号')
    cases = [
        (b'<b>', b'</b>', b'a<b>c</b>d', 1, 0),
        (b'<b>', b'</b>', b'x</b><b>c</b>', 1, 0),
        (b'name=' + q, q, b'name="v1" name="v2"', 1, 0),
        (b'<b>', b'</b>', b'<B>c</b>', 1, 1),
        (gbk('<h3>'), gbk('</h3>\n    <p>待付款</p>'), gbk('<h3>12</h3>\n    <p>待付款</p>'), 3, 0),
    ]
    for i, (left, right, text, start, fold) in enumerate(cases):
        # ConsumeIntegral<long> reads the full range from LONG_MIN.
        put('text_between', 'seed%d' % i,
            strings(left, right, text) + tail((fold, 1), (start + (1 << 63), 8)))


def url_decode():
    put('url_decode', 'escapes', b'a%20b a+b %4a%4A a%00b %zz %4 100%')
    put('url_decode', 'chinese', b'%E4%B8%AD%e6%96%87 ' + '订单号'.encode('utf-8'))
    put('url_decode', 'page', b'<td>%E5%BE%85%E5%8F%91%E8%B4%A7</td><style>.p{width:100%}</style>')


def url_parts():
    for i, url in enumerate(['http://Shop/order/list?order_state=20',
                             'https://track/autonumber/auto?num=123', 'http://shop:8080/a',
                             'shop/a', 'http://shop?x=1', 'http://127.0.0.1:18081/logo/x?a=b&c']):
        put('url_parts', 'url%d' % i, url)
    put('url_parts', 'local', gbk('http://shop/订单/中文?k=乗'))


def cookie_text():
    cases = [(b'sid=1; lang=zh', b'sid=2', b'; ', b'a; b; a; c'),
             (b'sid=1; lang=zh', b'sid=deleted', b';', b'x;;y;x'),
             (b'a=1;;b=2', b'', b'; ', b''),
             (b'x = 1', b'a=1; a=1', gbk('\u3000'), gbk('甲\u3000乙\u3000甲'))]
    for i, case in enumerate(cases):
        put('cookie_text', 'seed%d' % i, strings(*case))


def header_text():
    put('header_text', 'default', strings(b'', b'http://shop/site/login', b'',
                                          b'HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n'))
    put('header_text', 'cookies', strings(
        b'User-Agent: Test/1.0\r\nAccept-Encoding: gzip', b'http://shop/', b'sid=1',
        b'HTTP/1.1 302 Found\r\nSet-Cookie: sid=1; path=/\r\nset-cookie: lang=zh\r\n'
        b'SET-COOKIE:  x=1 ;Expires=Wed\r\nLocation: /\r\n'))
    put('header_text', 'agent_last', strings(b'Accept: a\r\nuser-agent:  Mozilla ',
                                             b'https://h:8443/p?q', b'a=1; b=2', b''))


def html_entities():
    put('html_entities', 'named', b'&amp;&lt;&gt;&quot;&#39;&apos; & &amp &unknown;')
    put('html_entities', 'numeric', b'&#20013;&#x4E2D;&#X4e2d;&#0;&#1114112;&#xD800;&#65;')
    put('html_entities', 'local', gbk('张三&amp;李四 收货人：&#x1F600;'))


def regex_pattern():
    cases = [(gbk('<td>(.*?)</td>'), b'', gbk('<td>a</td>\n<td>中</td>'), (1, 1, 1, 0)),
             (gbk('id=#引号(.*?)#引号'), b'[$1]', b'id="42" id="7"', (0, 1, 1, 1)),
             (rb'<td>([\s\S]+?)</td>', b'$&$$', b'<td>a\nb</td>', (0, 1, 1, 0)),
             (rb'^(\d+)\s*$', b'<$1>', b'12\r\n34 \nx', (0, 1, 1, 0)),
             (rb'(a)|(b)\2\1', b'', b'abba', (1, 0, 0, 0)),
             (rb'[^]]\x41\u00e9{2,3}(?:x)', b'', b']A\xc3\xa9\xc3\xa9x', (0, 0, 1, 0))]
    for i, (pattern, replacement, subject, flags) in enumerate(cases):
        # The four flags are taken from the end, first the last byte.
        flag_bytes = bytes(reversed(flags))
        put('regex_pattern', 'seed%d' % i, strings(pattern, replacement, subject) + flag_bytes)


def package(entries, compression=zipfile.ZIP_DEFLATED):
    out = io.BytesIO()
    with zipfile.ZipFile(out, 'w', compression) as z:
        for name, text in entries:
            z.writestr(name, text)
    return out.getvalue()


def sheet_parts(sheet_xml, shared=None, styles=None):
    rels = ('<Relationships xmlns="%s"><Relationship Id="rId1" Type="%s/worksheet" '
            'Target="worksheets/sheet1.xml"/>' % (PKG, REL))
    if shared is not None:
        rels += '<Relationship Id="rId2" Type="%s/sharedStrings" Target="sharedStrings.xml"/>' % REL
    if styles is not None:
        rels += '<Relationship Id="rId3" Type="%s/styles" Target="/xl/styles.xml"/>' % REL
    rels += '</Relationships>'
    return [
        ('_rels/.rels', '<Relationships xmlns="%s"><Relationship Id="rId1" Type="%s/'
                        'officeDocument" Target="xl/workbook.xml"/></Relationships>' % (PKG, REL)),
        ('xl/_rels/workbook.xml.rels', rels),
        ('xl/workbook.xml', '<workbook xmlns="%s" xmlns:r="%s"><workbookPr date1904="0"/>'
                            '<sheets><sheet name="订单" sheetId="1" r:id="rId1"/></sheets>'
                            '</workbook>' % (MAIN, REL)),
        ('xl/styles.xml', styles or ''),
        ('xl/sharedStrings.xml', shared or ''),
        ('xl/worksheets/sheet1.xml', sheet_xml),
    ]


SHARED = ('<sst xmlns="%s"><si><t>序号</t></si><si><r><t>订单</t></r><r><t>号</t></r></si>'
          '<si><t xml:space="preserve"> 𠮷_x000D_ </t><rPh><t>ignored</t></rPh></si></sst>' % MAIN)
STYLES = ('<styleSheet xmlns="%s"><numFmts><numFmt numFmtId="164" formatCode="yyyy/m/d h:mm"/>'
          '</numFmts><cellXfs><xf numFmtId="0"/><xf numFmtId="49"/><xf numFmtId="14"/>'
          '<xf numFmtId="164"/></cellXfs></styleSheet>' % MAIN)
SHEET = ('<worksheet xmlns="%s"><sheetData><row r="1"><c r="A1" t="s"><v>0</v></c>'
         '<c r="B1" t="s"><v>1</v></c><c r="C1" t="s"><v>2</v></c></row>'
         '<row r="2"><c r="A2"><v>1</v></c><c r="B2" t="inlineStr" s="1"><is><t>201701041234567890'
         '</t></is></c><c r="C2" s="2"><v>42739</v></c><c r="D2" s="3"><v>42739.5</v></c>'
         '<c r="E2" t="b"><v>1</v></c><c r="F2" t="e"><v>#N/A</v></c>'
         '<c r="G2" t="d"><v>2017-01-04T12:30:00</v></c><c t="str"><v>=x</v></c></row>'
         '<row><c><v>1E5</v></c></row></sheetData></worksheet>' % MAIN)


def xlsx():
    parts = sheet_parts(SHEET, SHARED, STYLES)
    put('xlsx_reader', 'hand_made.xlsx', package([p for p in parts if p[1]], zipfile.ZIP_STORED))
    put('xlsx_reader', 'deflated.xlsx', package([p for p in parts if p[1]]))
    put('xlsx_parts', 'full', strings(*[p[1].encode('utf-8') for p in parts]))
    inline = ('<worksheet xmlns="%s"><sheetData><row r="1"><c r="A1" t="inlineStr"><is><t>a'
              '</t></is></c><c r="$B$1" t="inlineStr"><is><r><t>b</t></r></is></c></row>'
              '</sheetData></worksheet>' % MAIN)
    put('xlsx_parts', 'inline', strings(*[p[1].encode('utf-8') for p in sheet_parts(inline)]))
    # Rows and cells in descending order, one position twice: the reader sorts them.
    shuffled = ('<worksheet xmlns="%s"><sheetData><row r="3"><c r="B3"><v>4</v></c>'
                '<c r="A3"><v>3</v></c></row><row r="1"><c r="A1" t="inlineStr"><is><t>t</t>'
                '</is></c></row><row r="2"><c r="A2"><v>1</v></c><c r="A2"><v>2</v></c></row>'
                '</sheetData></worksheet>' % MAIN)
    put('xlsx_reader', 'shuffled.xlsx',
        package([p for p in sheet_parts(shuffled) if p[1]], zipfile.ZIP_STORED))
    put('xlsx_parts', 'shuffled', strings(*[p[1].encode('utf-8') for p in sheet_parts(shuffled)]))

    import openpyxl
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.append(['序号', '订单号', '金额', '日期'])
    sheet.append([1, '201701041234567890', 12.5, '2017-01-04 12:30:00'])
    sheet.append([2, '00123', 0.1, True])
    out = io.BytesIO()
    book.save(out)
    put('xlsx_reader', 'openpyxl.xlsx', out.getvalue())


def text_table():
    # The first byte chooses: even for .csv, odd for .txt.
    put('text_table', 'orders.csv', b'\x00' + '序号,订单号,"金额"\r\n1,201701041234567890,"1,5"\r\n'
        '2,"a ""q"" b",\n'.encode('utf-8'))
    put('text_table', 'bom.csv', b'\x00\xef\xbb\xbf' + 'a,b\n中,文\n'.encode('utf-8'))
    put('text_table', 'utf16.txt', b'\x01' + '序号\t订单号\r\n1\t2\r\n'.encode('utf-16'))
    put('text_table', 'gbk.txt', b'\x01' + gbk('序号\t订单号\n1\t乗\n'))


def config_reader():
    put('config_reader', 'full.ini', '; hosts\n[hosts]\nbackend = 127.0.0.1:18080\n'
        'image = "img.example:81"\ntracking_detect = track\ntracking_query=q:1\n\n[tls]\n'
        'ca_file = certs/ca.pem\r\n')
    put('config_reader', 'bom.ini', b'\xef\xbb\xbf[hosts]\n  backend\t=  shop  \n# done\n')
    put('config_reader', 'faulty.ini', '[hosts]\nbackend = http://shop/\n')


if __name__ == '__main__':
    for make in (text_between, url_decode, url_parts, cookie_text, header_text, html_entities,
                 regex_pattern, xlsx, text_table, config_reader):
        make()
