<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en_US">
<context>
    <name>SMSUIPlugin</name>
    <message>
        <source>IDS_STR_CLOSE_WHILE_SENDING</source>
        <translation>A message is still being sent. Close anyway? Recipients who have not got it yet stay named in its unsent copy in the Outbox.</translation>
    </message>
    <message>
        <source>IDS_STR_SEND_UNKNOWN</source>
        <translation>May not have been sent: the modem gave no answer in time. This changes if it answers later; ask the recipient before sending it again.</translation>
    </message>
</context>
</TS>
