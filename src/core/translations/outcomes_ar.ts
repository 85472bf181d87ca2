<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ar" sourcelanguage="en_US">
<context>
    <name>SMSUIPlugin</name>
    <message>
        <source>IDS_STR_ALL_DELETED</source>
        <translation>تم حذف الرسائل.</translation>
    </message>
    <message>
        <source>IDS_STR_ALL_MOVED</source>
        <translation>تم نقل الرسائل.</translation>
    </message>
    <message>
        <source>IDS_STR_ALL_COPIED</source>
        <translation>تم نسخ الرسائل.</translation>
    </message>
    <message>
        <source>IDS_STR_ALL_RESTORED</source>
        <translation>تمت استعادة الرسائل.</translation>
    </message>
    <message>
        <source>IDS_STR_CALL_TITLE</source>
        <translation>اتصال</translation>
    </message>
    <message>
        <source>IDS_STR_SAVENUMBER_TITLE</source>
        <translation>حفظ الرقم</translation>
    </message>
    <message>
        <source>IDS_STR_EXPORT_TITLE</source>
        <translation>تصدير</translation>
    </message>
    <message>
        <source>IDS_STR_OPENLINK_TITLE</source>
        <translation>فتح الرابط</translation>
    </message>
</context>
</TS>
