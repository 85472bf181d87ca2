<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ar" sourcelanguage="en_US">
<context>
    <name>dialcrest</name>
    <message>
        <source>IDS_HOST_UNREAD_TIP</source>
        <translation>فتح الرسائل</translation>
    </message>
</context>
</TS>
