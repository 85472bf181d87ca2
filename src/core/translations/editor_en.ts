<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en_US">
<context>
    <name>SMSUIPlugin</name>
    <message>
        <source>IDS_STR_DRAFTSAVEFAILED</source>
        <translation>The draft could not be saved. Your text is still in the editor.</translation>
    </message>
</context>
</TS>
