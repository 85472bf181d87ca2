<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ar" sourcelanguage="en_US">
<context>
    <name>SMSUIPlugin</name>
    <message>
        <source>IDS_STR_SMSSETTINGFAILED</source>
        <translation>لم يقبل المودم إعدادات الرسائل الجديدة. سيحتفظ بإعداداته السابقة لمركز الرسائل ومدة الصلاحية والأولوية وتقرير التسليم؛ صحّح الإدخالات أو ألغِ.</translation>
    </message>
    <message>
        <source>IDS_DLG_OPENSOUND</source>
        <translation>فتح</translation>
    </message>
</context>
</TS>
