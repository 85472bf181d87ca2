<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ar" sourcelanguage="en_US">
<context>
    <name>SMSUIPlugin</name>
    <message>
        <source>IDS_ACC_FOLDERS</source>
        <translation>المجلدات</translation>
    </message>
    <message>
        <source>IDS_ACC_FOLDERS_DESC</source>
        <translation>مجلدات الرسائل على هذا الحاسوب والبطاقة والمودم</translation>
    </message>
    <message>
        <source>IDS_ACC_PREVIEW</source>
        <translation>معاينة الرسالة</translation>
    </message>
    <message>
        <source>IDS_ACC_MESSAGES</source>
        <translation>%1: الرسائل</translation>
    </message>
    <message>
        <source>IDS_ACC_MESSAGES_DESC</source>
        <translation>الاسم أو الرقم والنص والوقت لكل رسالة</translation>
    </message>
    <message>
        <source>IDS_ACC_RECIPIENTS</source>
        <translation>المستلمون</translation>
    </message>
    <message>
        <source>IDS_ACC_RECIPIENTS_DESC</source>
        <translation>أرقام الهواتف مفصولة بـ ;</translation>
    </message>
    <message>
        <source>IDS_ACC_MESSAGE_TEXT</source>
        <translation>نص الرسالة</translation>
    </message>
    <message>
        <source>IDS_ACC_COUNT</source>
        <translation>الأحرف وأجزاء الرسالة</translation>
    </message>
    <message>
        <source>IDS_ACC_SENDTO_DESC</source>
        <translation>اختيار المستلمين من دفتر العناوين</translation>
    </message>
    <message>
        <source>IDS_ACC_FLASH_TEXT</source>
        <translation>رسالة فورية</translation>
    </message>
</context>
<context>
    <name>dialcrest</name>
    <message>
        <source>IDS_ACC_SETTINGS_PAGES</source>
        <translation>صفحات الإعدادات</translation>
    </message>
    <message>
        <source>IDS_ACC_CONTACTS</source>
        <translation>جهات الاتصال</translation>
    </message>
    <message>
        <source>IDS_ACC_PAGES</source>
        <translation>الصفحات</translation>
    </message>
</context>
</TS>
