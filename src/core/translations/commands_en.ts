<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en_US">
<context>
    <name>SMSUIPlugin</name>
    <message>
        <source>IDS_EXPORT_SAVEAS</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>IDS_EXPORT_FILTER</source>
        <translation>CSV files (*.csv)</translation>
    </message>
</context>
</TS>
