<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ar" sourcelanguage="en_US">
<context>
    <name>SMSUIPlugin</name>
    <message>
        <source>IDS_STR_CLOSE_WHILE_SENDING</source>
        <translation>ما زالت رسالة قيد الإرسال. هل تريد الإغلاق على أي حال؟ يبقى المستلمون الذين لم يتلقوها بعد مذكورين في نسختها غير المرسلة في صندوق الصادر.</translation>
    </message>
</context>
</TS>
