<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ar" sourcelanguage="en_US">
<context>
    <name>SMSUIPlugin</name>
    <message>
        <source>IDS_EXPORT_SAVEAS</source>
        <translation>حفظ باسم</translation>
    </message>
    <message>
        <source>IDS_EXPORT_FILTER</source>
        <translation>ملفات CSV (*.csv)</translation>
    </message>
</context>
</TS>
