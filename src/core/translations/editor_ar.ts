<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ar" sourcelanguage="en_US">
<context>
    <name>SMSUIPlugin</name>
    <message>
        <source>IDS_STR_DRAFTSAVEFAILED</source>
        <translation>تعذّر حفظ المسودة. لا يزال النص في المحرر.</translation>
    </message>
</context>
</TS>
