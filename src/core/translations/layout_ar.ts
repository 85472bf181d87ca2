<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ar" sourcelanguage="en_US">
<context>
    <name>dialcrest</name>
    <message>
        <source>IDS_HOST_WHY_FULL</source>
        <translation>الذاكرة ممتلئة</translation>
    </message>
    <message>
        <source>IDS_HOST_WHY_NODEVICE</source>
        <translation>المودم غير موصول</translation>
    </message>
    <message>
        <source>IDS_HOST_WHY_NOSIM</source>
        <translation>لا توجد شريحة SIM</translation>
    </message>
    <message>
        <source>IDS_HOST_WHY_FLIGHT</source>
        <translation>وضع الطيران مفعّل</translation>
    </message>
    <message>
        <source>IDS_HOST_WHY_NOTREADY</source>
        <translation>الذاكرة ما زالت قيد التشغيل</translation>
    </message>
    <message>
        <source>IDS_HOST_WHY_OTHER</source>
        <translation>رفض المودم الطلب (الخطأ %1)</translation>
    </message>
    <message>
        <source>IDS_HOST_NOT_DONE</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>IDS_HOST_NOT_RECEIVED</source>
        <translation>لم تصل أي رسالة</translation>
    </message>
    <message>
        <source>IDS_HOST_NOT_FILLED</source>
        <translation>لم تُملأ الذاكرة</translation>
    </message>
    <message>
        <source>IDS_HOST_NOT_RESTORED</source>
        <translation>لم تُستعد سعات الذاكرة</translation>
    </message>
    <message>
        <source>IDS_HOST_NEED_SENDER</source>
        <translation>أدخل مُرسل الرسالة.</translation>
    </message>
    <message>
        <source>IDS_HOST_BAD_SENDER</source>
        <translation>المُرسل رقم هاتف أو اسم لا يزيد على 11 حرفًا.</translation>
    </message>
    <message>
        <source>IDS_HOST_NEED_TEXT</source>
        <translation>أدخل نص الرسالة.</translation>
    </message>
</context>
<context>
    <name>SMSUIPlugin</name>
    <message>
        <source>IDS_STR_NOBROWSER</source>
        <translation>تعذّر على أي متصفح فتح %1.</translation>
    </message>
    <message>
        <source>IDS_LST_EMPTYFOLDER</source>
        <translation>لا توجد رسائل في هذا المجلد</translation>
    </message>
</context>
</TS>
