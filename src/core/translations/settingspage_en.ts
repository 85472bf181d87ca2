<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en_US">
<context>
    <name>SMSUIPlugin</name>
    <message>
        <source>IDS_STR_SMSSETTINGFAILED</source>
        <translation>The modem did not accept the new message settings. It keeps its previous message centre, validity, priority and delivery report settings; correct the entries or cancel.</translation>
    </message>
    <message>
        <source>IDS_DLG_OPENSOUND</source>
        <translation>Open</translation>
    </message>
</context>
</TS>
