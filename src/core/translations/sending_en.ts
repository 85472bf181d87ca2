<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en_US">
<context>
    <name>SMSUIPlugin</name>
    <message>
        <source>IDS_STR_CLOSE_WHILE_SENDING</source>
        <translation>A message is still being sent. Close anyway? Recipients who have not got it yet stay named in its unsent copy in the Outbox.</translation>
    </message>
</context>
</TS>
