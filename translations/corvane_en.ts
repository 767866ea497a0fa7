<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>Corvane</name>
    <message>
        <source>Please select online data type !
</source>
        <translation>Please select online data type !
</translation>
    </message>
    <message>
        <source>0x10000000 &gt; ADDR &gt;= 0x100000, please check!</source>
        <translation>0x10000000 &gt; ADDR &gt;= 0x100000, please check!</translation>
    </message>
    <message>
        <source>0x20000000 &gt; ADDR, please check!</source>
        <translation>0x20000000 &gt; ADDR, please check!</translation>
    </message>
    <message>
        <source>0xE0000000 &gt; ADDR &gt;= 0x62000000, please check!</source>
        <translation>0xE0000000 &gt; ADDR &gt;= 0x62000000, please check!</translation>
    </message>
    <message>
        <source>0xE0000000 &gt; ADDR &gt;= 0x64000000, please check!</source>
        <translation>0xE0000000 &gt; ADDR &gt;= 0x64000000, please check!</translation>
    </message>
    <message>
        <source>transfer reaches 0x%08x: %s</source>
        <translation>transfer reaches 0x%08x: %s</translation>
    </message>
    <message>
        <source>%s is held by another writer, not written !
</source>
        <translation>%s is held by another writer, not written !
</translation>
    </message>
    <message>
        <source>%s cannot be read, not written !
</source>
        <translation>%s cannot be read, not written !
</translation>
    </message>
    <message>
        <source>%s is not UTF-8 text, not written !
</source>
        <translation>%s is not UTF-8 text, not written !
</translation>
    </message>
    <message>
        <source>%s: its folder takes no new file, not written !
</source>
        <translation>%s: its folder takes no new file, not written !
</translation>
    </message>
    <message>
        <source>%s write error, not written !
</source>
        <translation>%s write error, not written !
</translation>
    </message>
    <message>
        <source>%s cannot hold [%s] %s with this text, not written !
</source>
        <translation>%s cannot hold [%s] %s with this text, not written !
</translation>
    </message>
    <message>
        <source>Please copy libjlinkarm.so file from the path of the JLink(SEGGER) software to the path of this tool!</source>
        <translation>Please copy libjlinkarm.so file from the path of the JLink(SEGGER) software to the path of this tool!</translation>
    </message>
    <message>
        <source>jlink_EMU_SelectByUSBSN error
</source>
        <translation>jlink_EMU_SelectByUSBSN error
</translation>
    </message>
    <message>
        <source>jlink_IsOpen error
</source>
        <translation>jlink_IsOpen error
</translation>
    </message>
    <message>
        <source>jlink_EMU_IsConnected error
</source>
        <translation>jlink_EMU_IsConnected error
</translation>
    </message>
    <message>
        <source>jlink_Connect error
</source>
        <translation>jlink_Connect error
</translation>
    </message>
    <message>
        <source>link_Connect error
</source>
        <translation>link_Connect error
</translation>
    </message>
    <message>
        <source>jlink_ReadMemEx 0x%08x 0x%x error !
</source>
        <translation>jlink_ReadMemEx 0x%08x 0x%x error !
</translation>
    </message>
    <message>
        <source>jlink_WriteMemEx 0x%08x 0x%x error !
</source>
        <translation>jlink_WriteMemEx 0x%08x 0x%x error !
</translation>
    </message>
    <message>
        <source>jlink_ReadMemEx 0x%08x 4 error !
</source>
        <translation>jlink_ReadMemEx 0x%08x 4 error !
</translation>
    </message>
    <message>
        <source>jlink_WriteMemEx 0x%08x 4 error !
</source>
        <translation>jlink_WriteMemEx 0x%08x 4 error !
</translation>
    </message>
    <message>
        <source>%s not support uart debug !</source>
        <translation>%s not support uart debug !</translation>
    </message>
    <message>
        <source>%s not support uart debug !
</source>
        <translation>%s not support uart debug !
</translation>
    </message>
    <message>
        <source>uart open error !
</source>
        <translation>uart open error !
</translation>
    </message>
    <message>
        <source>EnterDebugMode error !
</source>
        <translation>EnterDebugMode error !
</translation>
    </message>
    <message>
        <source>ReadMem 0x%08x 0x%x error !
</source>
        <translation>ReadMem 0x%08x 0x%x error !
</translation>
    </message>
    <message>
        <source>WriteMem 0x%08x 0x%x error !
</source>
        <translation>WriteMem 0x%08x 0x%x error !
</translation>
    </message>
    <message>
        <source>ReadMem 0x%08x 4 error !</source>
        <translation>ReadMem 0x%08x 4 error !</translation>
    </message>
    <message>
        <source>WriteMem 0x%08x 4 error !
</source>
        <translation>WriteMem 0x%08x 4 error !
</translation>
    </message>
    <message>
        <source>gdb connect %s error !
</source>
        <translation>gdb connect %s error !
</translation>
    </message>
    <message>
        <source>gdb_ReadMem 0x%08x 0x%x error !
</source>
        <translation>gdb_ReadMem 0x%08x 0x%x error !
</translation>
    </message>
    <message>
        <source>gdb_WriteMem 0x%08x 0x%x error !
</source>
        <translation>gdb_WriteMem 0x%08x 0x%x error !
</translation>
    </message>
    <message>
        <source>gdb_ReadMem 0x%08x 4 error !
</source>
        <translation>gdb_ReadMem 0x%08x 4 error !
</translation>
    </message>
    <message>
        <source>gdb_WriteMem 0x%08x 4 error !
</source>
        <translation>gdb_WriteMem 0x%08x 4 error !
</translation>
    </message>
    <message>
        <source>gdb read of core register %s error !
</source>
        <translation>gdb read of core register %s error !
</translation>
    </message>
    <message>
        <source>gdb write of core register %s error !
</source>
        <translation>gdb write of core register %s error !
</translation>
    </message>
    <message>
        <source>core register %s: S_REGRDY not set within %d ms !
</source>
        <translation>core register %s: S_REGRDY not set within %d ms !
</translation>
    </message>
    <message>
        <source>not host:port</source>
        <translation>not host:port</translation>
    </message>
    <message>
        <source>no reply within %d ms</source>
        <translation>no reply within %d ms</translation>
    </message>
    <message>
        <source>closed by the server</source>
        <translation>closed by the server</translation>
    </message>
    <message>
        <source>the server kept sending without the reply</source>
        <translation>the server kept sending without the reply</translation>
    </message>
    <message>
        <source>a garbled reply</source>
        <translation>a garbled reply</translation>
    </message>
    <message>
        <source>the server took no resend of the packet</source>
        <translation>the server took no resend of the packet</translation>
    </message>
    <message>
        <source>the server answered &quot;%s&quot;</source>
        <translation>the server answered &quot;%s&quot;</translation>
    </message>
    <message>
        <source>not a terminal</source>
        <translation>not a terminal</translation>
    </message>
    <message>
        <source>the port hung up</source>
        <translation>the port hung up</translation>
    </message>
    <message>
        <source>选择/输入 保存的文件</source>
        <translation>Choose or type the file to save</translation>
    </message>
    <message>
        <source>选择 写入芯片的文件</source>
        <translation>Choose the file to write to the chip</translation>
    </message>
    <message>
        <source>Binary Files(*.bin)</source>
        <translation>Binary Files(*.bin)</translation>
    </message>
    <message>
        <source>All Files(*)</source>
        <translation>All Files(*)</translation>
    </message>
    <message>
        <source>ADDR shold 4 Bytes align, please check!</source>
        <translation>ADDR shold 4 Bytes align, please check!</translation>
    </message>
    <message>
        <source>no file select, please check!</source>
        <translation>no file select, please check!</translation>
    </message>
    <message>
        <source>LENGTH == 0, please check!</source>
        <translation>LENGTH == 0, please check!</translation>
    </message>
    <message>
        <source>no data to write, please check!</source>
        <translation>no data to write, please check!</translation>
    </message>
    <message>
        <source>input file too large for ADDR, please check!</source>
        <translation>input file too large for ADDR, please check!</translation>
    </message>
    <message>
        <source>LENGTH over 1024 Bytes, data show too long, use 1024 Bytes!</source>
        <translation>LENGTH over 1024 Bytes, data show too long, use 1024 Bytes!</translation>
    </message>
    <message>
        <source>LENGTH over 8*1024*1024 Bytes, use 8*1024*1024!</source>
        <translation>LENGTH over 8*1024*1024 Bytes, use 8*1024*1024!</translation>
    </message>
    <message>
        <source>output file create fail !
</source>
        <translation>output file create fail !
</translation>
    </message>
    <message>
        <source>output file write fail !
</source>
        <translation>output file write fail !
</translation>
    </message>
    <message>
        <source>input file open fail !
</source>
        <translation>input file open fail !
</translation>
    </message>
    <message>
        <source>input file read fail !
</source>
        <translation>input file read fail !
</translation>
    </message>
    <message>
        <source>%s: not a regular file or a character device</source>
        <translation>%s: not a regular file or a character device</translation>
    </message>
    <message>
        <source>%s: not a regular file</source>
        <translation>%s: not a regular file</translation>
    </message>
    <message>
        <source>%s: took no bytes for %d ms</source>
        <translation>%s: took no bytes for %d ms</translation>
    </message>
    <message>
        <source>transfer stopped after 0x%x of 0x%x Bytes !
</source>
        <translation>transfer stopped after 0x%x of 0x%x Bytes !
</translation>
    </message>
    <message>
        <source>the core is running: halt it first (&quot;halt HCPU&quot; in the panel, corvane-cli halt-hcpu), or ask for halt, read, keep halted (--halt) !
</source>
        <translation>the core is running: halt it first (&quot;halt HCPU&quot; in the panel, corvane-cli halt-hcpu), or ask for halt, read, keep halted (--halt) !
</translation>
    </message>
    <message>
        <source>no core register %s, please check!</source>
        <translation>no core register %s, please check!</translation>
    </message>
    <message>
        <source>core register %s is not written here (R0-R12, SP, PC, xPSR), please check!</source>
        <translation>core register %s is not written here (R0-R12, SP, PC, xPSR), please check!</translation>
    </message>
    <message>
        <source>%s is not a 32-bit hexadecimal value, please check!</source>
        <translation>%s is not a 32-bit hexadecimal value, please check!</translation>
    </message>
    <message>
        <source>core register %s is not given by the server !
</source>
        <translation>core register %s is not given by the server !
</translation>
    </message>
    <message>
        <source>core register %s written 0x%08X, read back 0x%08X !
</source>
        <translation>core register %s written 0x%08X, read back 0x%08X !
</translation>
    </message>
    <message>
        <source>not given by the server</source>
        <translation>not given by the server</translation>
    </message>
    <message>
        <source>no symbol</source>
        <translation>no symbol</translation>
    </message>
    <message>
        <source>stack overflow of the process stack (STKOF)</source>
        <translation>stack overflow of the process stack (STKOF)</translation>
    </message>
    <message>
        <source>stack overflow of the main stack (STKOF)</source>
        <translation>stack overflow of the main stack (STKOF)</translation>
    </message>
    <message>
        <source>stack overflow (STKOF)</source>
        <translation>stack overflow (STKOF)</translation>
    </message>
    <message>
        <source>the chip&apos;s own auxiliary fault bit</source>
        <translation>the chip&apos;s own auxiliary fault bit</translation>
    </message>
    <message>
        <source>not read: %s 0x%08X is outside readable memory (%s)</source>
        <translation>not read: %s 0x%08X is outside readable memory (%s)</translation>
    </message>
    <message>
        <source>the frame would pass the end of the address space</source>
        <translation>the frame would pass the end of the address space</translation>
    </message>
    <message>
        <source>not read: LR holds no EXC_RETURN</source>
        <translation>not read: LR holds no EXC_RETURN</translation>
    </message>
    <message>
        <source>not read: the core is in Thread mode, no exception is being handled</source>
        <translation>not read: the core is in Thread mode, no exception is being handled</translation>
    </message>
    <message>
        <source>not read: %s not given by the server</source>
        <translation>not read: %s not given by the server</translation>
    </message>
    <message>
        <source>not an ELF file</source>
        <translation>not an ELF file</translation>
    </message>
    <message>
        <source>not read: %s 0x%08X could not be read</source>
        <translation>not read: %s 0x%08X could not be read</translation>
    </message>
    <message>
        <source>%s open error! 
</source>
        <translation>%s open error! 
</translation>
    </message>
    <message>
        <source>%s create error !
</source>
        <translation>%s create error !
</translation>
    </message>
    <message>
        <source>%s open error !
</source>
        <translation>%s open error !
</translation>
    </message>
    <message>
        <source>%s open error !</source>
        <translation>%s open error !</translation>
    </message>
    <message>
        <source>%s GetRegInfo error !
</source>
        <translation>%s GetRegInfo error !
</translation>
    </message>
    <message>
        <source>%s GetRegInfo error !</source>
        <translation>%s GetRegInfo error !</translation>
    </message>
    <message>
        <source>%s size 0x%x &gt; file len 0x%x, fill zero !
</source>
        <translation>%s size 0x%x &gt; file len 0x%x, fill zero !
</translation>
    </message>
    <message>
        <source>%s size 0x%x &lt; file len 0x%x, remove following data !
</source>
        <translation>%s size 0x%x &lt; file len 0x%x, remove following data !
</translation>
    </message>
    <message>
        <source>%s span 0x%x does not fit the 0x%x-byte transfer buffer, refused !
</source>
        <translation>%s span 0x%x does not fit the 0x%x-byte transfer buffer, refused !
</translation>
    </message>
    <message>
        <source>out of range !
%s does not fit %s (%u bits)
</source>
        <translation>out of range !
%s does not fit %s (%u bits)
</translation>
    </message>
    <message>
        <source>not a number !
%s is no %s value for %s
</source>
        <translation>not a number !
%s is no %s value for %s
</translation>
    </message>
    <message>
        <source>not a number !
%s is no %s value for %s, nor one of its names: %s
</source>
        <translation>not a number !
%s is no %s value for %s, nor one of its names: %s
</translation>
    </message>
    <message>
        <source>not read !
%s: reading %s changes the chip, so its other bits are not known; read it first or type its whole value
</source>
        <translation>not read !
%s: reading %s changes the chip, so its other bits are not known; read it first or type its whole value
</translation>
    </message>
    <message>
        <source>not read !
%s: %s cannot be read (%s), so its other bits are not known; type its whole value
</source>
        <translation>not read !
%s: %s cannot be read (%s), so its other bits are not known; type its whole value
</translation>
    </message>
    <message>
        <source>not written !
%s: another action runs; write it again once it has ended
</source>
        <translation>not written !
%s: another action runs; write it again once it has ended
</translation>
    </message>
    <message>
        <source>寄存器数值</source>
        <translation>Register value</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>
(read clears: left out of whole-peripheral reads)</source>
        <translation>
(read clears: left out of whole-peripheral reads)</translation>
    </message>
    <message>
        <source>[svd] peripherals not find !
</source>
        <translation>[svd] peripherals not find !
</translation>
    </message>
    <message>
        <source>[svd] peripherals-&gt;peripheral-&gt;name not find !
</source>
        <translation>[svd] peripherals-&gt;peripheral-&gt;name not find !
</translation>
    </message>
    <message>
        <source>[svd] peripherals-&gt;peripheral-&gt;baseAddress not find!
</source>
        <translation>[svd] peripherals-&gt;peripheral-&gt;baseAddress not find!
</translation>
    </message>
    <message>
        <source>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;name  not find!
</source>
        <translation>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;name  not find!
</translation>
    </message>
    <message>
        <source>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;addressOffset  not find!
</source>
        <translation>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;addressOffset  not find!
</translation>
    </message>
    <message>
        <source>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;fields-&gt;field-&gt;name not find!
</source>
        <translation>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;fields-&gt;field-&gt;name not find!
</translation>
    </message>
    <message>
        <source>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;fields-&gt;field-&gt;bitOffset not find!
</source>
        <translation>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;fields-&gt;field-&gt;bitOffset not find!
</translation>
    </message>
    <message>
        <source>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;fields-&gt;field-&gt;bitWidth not find!
</source>
        <translation>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;fields-&gt;field-&gt;bitWidth not find!
</translation>
    </message>
    <message>
        <source>[svd] %1 derivedFrom %2 not find!
</source>
        <translation>[svd] %1 derivedFrom %2 not find!
</translation>
    </message>
    <message>
        <source>[svd] %1 dim %2 over %3!
</source>
        <translation>[svd] %1 dim %2 over %3!
</translation>
    </message>
    <message>
        <source>[svd] %1 %2 %3 not a number!
</source>
        <translation>[svd] %1 %2 %3 not a number!
</translation>
    </message>
    <message>
        <source>[svd] %1 expands to more than %2 elements!
</source>
        <translation>[svd] %1 expands to more than %2 elements!
</translation>
    </message>
    <message>
        <source>[svd] %1 clusters nested deeper than %2!
</source>
        <translation>[svd] %1 clusters nested deeper than %2!
</translation>
    </message>
    <message>
        <source>[svd] %1 address past 0xFFFFFFFF !
</source>
        <translation>[svd] %1 address past 0xFFFFFFFF !
</translation>
    </message>
    <message>
        <source>[svd] %1 span past 0xFFFFFFFF !
</source>
        <translation>[svd] %1 span past 0xFFFFFFFF !
</translation>
    </message>
    <message>
        <source>no address %1, please check!</source>
        <translation>no address %1, please check!</translation>
    </message>
    <message>
        <source>no length %1, please check!</source>
        <translation>no length %1, please check!</translation>
    </message>
    <message>
        <source>no data to find, please check!</source>
        <translation>no data to find, please check!</translation>
    </message>
    <message>
        <source>%1 [SVD unreadable: not read]</source>
        <translation>%1 [SVD unreadable: not read]</translation>
    </message>
    <message>
        <source>memory window closed while the link was busy, not written:
%1</source>
        <translation>memory window closed while the link was busy, not written:
%1</translation>
    </message>
    <message>
        <source>x %1 管道创建失败
</source>
        <translation>x %1 pipe creation failed
</translation>
    </message>
    <message>
        <source>%1 进程创建失败
</source>
        <translation>%1 process creation failed
</translation>
    </message>
    <message>
        <source>管道接收异常
</source>
        <translation>pipe receive error
</translation>
    </message>
    <message>
        <source>无有效数据 !!!</source>
        <translation>No valid data !!!</translation>
    </message>
    <message>
        <source>此程序正在运行，同一路径只能打开一次。</source>
        <translation>This program is running; it can be opened only once from the same folder.</translation>
    </message>
    <message>
        <source>No saved data to compare !
</source>
        <translation>No saved data to compare !
</translation>
    </message>
    <message>
        <source>%1 create error !
</source>
        <translation>%1 create error !
</translation>
    </message>
    <message>
        <source>%1 is read-only !</source>
        <translation>%1 is read-only !</translation>
    </message>
    <message>
        <source>%1: not a GDB server, type host:port (port 1 to 65535) !
</source>
        <translation>%1: not a GDB server, type host:port (port 1 to 65535) !
</translation>
    </message>
    <message>
        <source>usage: corvane-cli [--home DIR] [--chip NAME] [--language en|zh] COMMAND [ARGS...]

commands:
</source>
        <translation>usage: corvane-cli [--home DIR] [--chip NAME] [--language en|zh] COMMAND [ARGS...]

commands:
</translation>
    </message>
    <message>
        <source>usage: corvane-cli %1 %2
</source>
        <translation>usage: corvane-cli %1 %2
</translation>
    </message>
    <message>
        <source>corvane-cli: %1
</source>
        <translation>corvane-cli: %1
</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 needs a value</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <source>no command given</source>
        <translation>no command given</translation>
    </message>
    <message>
        <source>unknown language %1 (en or zh)</source>
        <translation>unknown language %1 (en or zh)</translation>
    </message>
    <message>
        <source>unknown command %1</source>
        <translation>unknown command %1</translation>
    </message>
    <message>
        <source>no peripheral %1 in %2
</source>
        <translation>no peripheral %1 in %2
</translation>
    </message>
    <message>
        <source>%1: %2 holds 0x%3 bytes of the span 0x%4; registers beyond its end are not compared
</source>
        <translation>%1: %2 holds 0x%3 bytes of the span 0x%4; registers beyond its end are not compared
</translation>
    </message>
    <message>
        <source>no register %1 in %2
</source>
        <translation>no register %1 in %2
</translation>
    </message>
    <message>
        <source>%1 cannot be read as an ELF file: %2
</source>
        <translation>%1 cannot be read as an ELF file: %2
</translation>
    </message>
    <message>
        <source>print the HCPU&apos;s core registers; a running core is refused unless --halt (halt it and keep it halted)</source>
        <translation>print the HCPU&apos;s core registers; a running core is refused unless --halt (halt it and keep it halted)</translation>
    </message>
    <message>
        <source>write R0-R12, SP, PC or xPSR of the halted HCPU (VALUE hexadecimal) and read it back</source>
        <translation>write R0-R12, SP, PC or xPSR of the halted HCPU (VALUE hexadecimal) and read it back</translation>
    </message>
    <message>
        <source>print the fault report: fault registers in words, the exception, the stacked frame; --elf adds functions and lines</source>
        <translation>print the fault report: fault registers in words, the exception, the stacked frame; --elf adds functions and lines</translation>
    </message>
    <message>
        <source>list the IP blocks of the chip&apos;s analyzer files: &quot;+ NAME&quot; for a known block, &quot;- NAME&quot; otherwise</source>
        <translation>list the IP blocks of the chip&apos;s analyzer files: &quot;+ NAME&quot; for a known block, &quot;- NAME&quot; otherwise</translation>
    </message>
    <message>
        <source>run the analyzer for each IP block and print every output row on its own line</source>
        <translation>run the analyzer for each IP block and print every output row on its own line</translation>
    </message>
    <message>
        <source>read these peripherals every interval and print each register that changed</source>
        <translation>read these peripherals every interval and print each register that changed</translation>
    </message>
    <message>
        <source>print the registers and fields of NAME that differ between two snapshot files</source>
        <translation>print the registers and fields of NAME that differ between two snapshot files</translation>
    </message>
    <message>
        <source>print memory as a memory window shows it: rows of 16 bytes, ASCII, register names</source>
        <translation>print memory as a memory window shows it: rows of 16 bytes, ASCII, register names</translation>
    </message>
    <message>
        <source>print the register window rows of these peripherals</source>
        <translation>print the register window rows of these peripherals</translation>
    </message>
    <message>
        <source>read these peripherals into their snapshot files and print their rows</source>
        <translation>read these peripherals into their snapshot files and print their rows</translation>
    </message>
    <message>
        <source>set a register&apos;s value and write it to the chip</source>
        <translation>set a register&apos;s value and write it to the chip</translation>
    </message>
    <message>
        <source>read up to 1024 bytes and print them as a hex dump</source>
        <translation>read up to 1024 bytes and print them as a hex dump</translation>
    </message>
    <message>
        <source>read up to 8 MiB into FILE</source>
        <translation>read up to 8 MiB into FILE</translation>
    </message>
    <message>
        <source>write one 32-bit word</source>
        <translation>write one 32-bit word</translation>
    </message>
    <message>
        <source>write the whole of FILE from ADDR on</source>
        <translation>write the whole of FILE from ADDR on</translation>
    </message>
    <message>
        <source>stop the chip model&apos;s watchdogs</source>
        <translation>stop the chip model&apos;s watchdogs</translation>
    </message>
    <message>
        <source>halt the high-performance CPU</source>
        <translation>halt the high-performance CPU</translation>
    </message>
    <message>
        <source>halt the low-power CPU</source>
        <translation>halt the low-power CPU</translation>
    </message>
    <message>
        <source>clean the level-1 data cache by set and way</source>
        <translation>clean the level-1 data cache by set and way</translation>
    </message>
    <message>
        <source>let the halted cores run; until then every command leaves them halted</source>
        <translation>let the halted cores run; until then every command leaves them halted</translation>
    </message>
    <message>
        <source>check that FILE is well-formed XML: prints sound or not sound, then the error text</source>
        <translation>check that FILE is well-formed XML: prints sound or not sound, then the error text</translation>
    </message>
    <message>
        <source>list the peripheral names of the SVD file FILE, one per line</source>
        <translation>list the peripheral names of the SVD file FILE, one per line</translation>
    </message>
    <message>
        <source>print peripheral NAME of the SVD file FILE with its registers and fields</source>
        <translation>print peripheral NAME of the SVD file FILE with its registers and fields</translation>
    </message>
    <message>
        <source>语言(&amp;L)</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>The language chosen is used from the next start of Corvane.</source>
        <translation>The language chosen is used from the next start of Corvane.</translation>
    </message>
    <message>
        <source>保存数据 %1</source>
        <translation>Save data %1</translation>
    </message>
    <message>
        <source>***** 导入默认路径文件请点击&quot;取消&quot;按钮 *****</source>
        <translation>***** To import the file of the default path, click &quot;Cancel&quot; *****</translation>
    </message>
    <message>
        <source>Register data Files(*.bin)</source>
        <translation>Register data Files(*.bin)</translation>
    </message>
    <message>
        <source>IP分析</source>
        <translation>Analyze</translation>
    </message>
    <message>
        <source>清空</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>sel</source>
        <translation>sel</translation>
    </message>
    <message>
        <source>IP list</source>
        <translation>IP list</translation>
    </message>
    <message>
        <source>log Files(*.log)</source>
        <translation>log Files(*.log)</translation>
    </message>
    <message>
        <source>All Files(*.*)</source>
        <translation>All Files(*.*)</translation>
    </message>
    <message>
        <source>trace info</source>
        <translation>trace info</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>关于 Corvane</source>
        <translation>About Corvane</translation>
    </message>
    <message>
        <source>Corvane，版本 %1</source>
        <translation>Corvane, version %1</translation>
    </message>
    <message>
        <source>core</source>
        <translation>core</translation>
    </message>
    <message>
        <source>内核窗口(&amp;K)	Ctrl+K</source>
        <translation>Cor&amp;e Window	Ctrl+K</translation>
    </message>
    <message>
        <source>内核窗口</source>
        <translation>Core</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>halt, read, keep halted</source>
        <translation>halt, read, keep halted</translation>
    </message>
    <message>
        <source>Watch</source>
        <translation>Watch</translation>
    </message>
    <message>
        <source>ELF file</source>
        <translation>ELF file</translation>
    </message>
    <message>
        <source>Select the firmware&apos;s ELF file</source>
        <translation>Select the firmware&apos;s ELF file</translation>
    </message>
    <message>
        <source>ELF Files(*.elf *.axf *.out)</source>
        <translation>ELF Files(*.elf *.axf *.out)</translation>
    </message>
    <message>
        <source>registers</source>
        <translation>registers</translation>
    </message>
    <message>
        <source>fault</source>
        <translation>fault</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Meaning</source>
        <translation>Meaning</translation>
    </message>
    <message>
        <source>The core is running: nothing was read. Halt it with &quot;halt HCPU&quot; in the panel, or here with &quot;halt, read, keep halted&quot;.</source>
        <translation>The core is running: nothing was read. Halt it with &quot;halt HCPU&quot; in the panel, or here with &quot;halt, read, keep halted&quot;.</translation>
    </message>
    <message>
        <source>Not read: the link failed.</source>
        <translation>Not read: the link failed.</translation>
    </message>
    <message>
        <source>Read at %1, the core halted.</source>
        <translation>Read at %1, the core halted.</translation>
    </message>
    <message>
        <source>Faulting PC: %1 %2</source>
        <translation>Faulting PC: %1 %2</translation>
    </message>
    <message>
        <source>No stacked frame: the faulting PC is not known.</source>
        <translation>No stacked frame: the faulting PC is not known.</translation>
    </message>
    <message>
        <source>ELF file %1 not taken: %2</source>
        <translation>ELF file %1 not taken: %2</translation>
    </message>
    <message>
        <source>%1: %2 is not a 32-bit number, please check!</source>
        <translation>%1: %2 is not a 32-bit number, please check!</translation>
    </message>
    <message>
        <source>Control Panel</source>
        <translation>Control Panel</translation>
    </message>
    <message>
        <source>交互控制界面</source>
        <translation>Control</translation>
    </message>
    <message>
        <source>寄存器检测界面</source>
        <translation>IP check</translation>
    </message>
    <message>
        <source>内存窗口</source>
        <translation>Memory</translation>
    </message>
    <message>
        <source>平    台</source>
        <translation>Chip</translation>
    </message>
    <message>
        <source>数 据 源</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>离线数据</source>
        <translation>Offline</translation>
    </message>
    <message>
        <source>JLINK读取</source>
        <translation>J-Link</translation>
    </message>
    <message>
        <source>UART读取</source>
        <translation>UART</translation>
    </message>
    <message>
        <source>GDB读取</source>
        <translation>GDB</translation>
    </message>
    <message>
        <source>端    口</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>速    率</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>展开等级</source>
        <translation>Expand</translation>
    </message>
    <message>
        <source>展开1级</source>
        <translation>1 level</translation>
    </message>
    <message>
        <source>展开2级</source>
        <translation>2 levels</translation>
    </message>
    <message>
        <source>展开3级</source>
        <translation>3 levels</translation>
    </message>
    <message>
        <source>写寄存器</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>立即写入</source>
        <translation>Immediately</translation>
    </message>
    <message>
        <source>右键菜单写入</source>
        <translation>From menu</translation>
    </message>
    <message>
        <source>数据进制</source>
        <translation>Base</translation>
    </message>
    <message>
        <source>更新</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>关看门狗</source>
        <translation>WDT off</translation>
    </message>
    <message>
        <source>清CACHE</source>
        <translation>Clean cache</translation>
    </message>
    <message>
        <source>运行</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>数据读取</source>
        <translation>Capture</translation>
    </message>
    <message>
        <source>地址 0x</source>
        <translation>Addr 0x</translation>
    </message>
    <message>
        <source>长度 0x</source>
        <translation>Len 0x</translation>
    </message>
    <message>
        <source>读取</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>读取到文件</source>
        <translation>Read to file</translation>
    </message>
    <message>
        <source>数据 0x</source>
        <translation>Data 0x</translation>
    </message>
    <message>
        <source>写入</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>从文件写入</source>
        <translation>Write file</translation>
    </message>
    <message>
        <source>未停止</source>
        <translation>Not halted</translation>
    </message>
    <message>
        <source>已停止 %1</source>
        <translation>Halted %1</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>%1 / %2 bytes</source>
        <translation>%1 / %2 bytes</translation>
    </message>
    <message>
        <source>蓝色样式(&amp;B)</source>
        <translation>&amp;Blue</translation>
    </message>
    <message>
        <source>黑色样式(&amp;L)</source>
        <translation>B&amp;lack</translation>
    </message>
    <message>
        <source>银色样式(&amp;S)</source>
        <translation>&amp;Silver</translation>
    </message>
    <message>
        <source>水绿色样式(&amp;A)</source>
        <translation>&amp;Aqua</translation>
    </message>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>新建(&amp;N)	Ctrl+N</source>
        <translation>&amp;New	Ctrl+N</translation>
    </message>
    <message>
        <source>打开(&amp;O)...	Ctrl+O</source>
        <translation>&amp;Open...	Ctrl+O</translation>
    </message>
    <message>
        <source>关闭(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>保存(&amp;S)	Ctrl+S</source>
        <translation>&amp;Save	Ctrl+S</translation>
    </message>
    <message>
        <source>另存为(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>编辑(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>撤消(&amp;U)	Ctrl+Z</source>
        <translation>&amp;Undo	Ctrl+Z</translation>
    </message>
    <message>
        <source>剪切(&amp;T)	Ctrl+X</source>
        <translation>Cu&amp;t	Ctrl+X</translation>
    </message>
    <message>
        <source>复制(&amp;C)	Ctrl+C</source>
        <translation>&amp;Copy	Ctrl+C</translation>
    </message>
    <message>
        <source>粘贴(&amp;P)	Ctrl+V</source>
        <translation>&amp;Paste	Ctrl+V</translation>
    </message>
    <message>
        <source>视图(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>工具栏和停靠窗口(&amp;T)</source>
        <translation>&amp;Toolbars and Docking Windows</translation>
    </message>
    <message>
        <source>状态栏(&amp;S)</source>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <source>应用程序外观(&amp;A)</source>
        <translation>&amp;Application Look</translation>
    </message>
    <message>
        <source>窗口(&amp;W)</source>
        <translation>&amp;Window</translation>
    </message>
    <message>
        <source>新建窗口(&amp;N)</source>
        <translation>&amp;New Window</translation>
    </message>
    <message>
        <source>内存窗口(&amp;M)	Ctrl+M</source>
        <translation>&amp;Memory Window	Ctrl+M</translation>
    </message>
    <message>
        <source>层叠(&amp;C)</source>
        <translation>&amp;Cascade</translation>
    </message>
    <message>
        <source>平铺(&amp;T)</source>
        <translation>&amp;Tile</translation>
    </message>
    <message>
        <source>排列图标(&amp;A)</source>
        <translation>&amp;Arrange Icons</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>关于 Corvane(&amp;A)...</source>
        <translation>&amp;About Corvane...</translation>
    </message>
    <message>
        <source>标准</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>自定义...</source>
        <translation>Customize...</translation>
    </message>
    <message>
        <source>关于Corvane...</source>
        <translation>About Corvane...</translation>
    </message>
    <message>
        <source>读取会改变芯片状态：不读</source>
        <translation>Reading changes the chip&apos;s state: not read</translation>
    </message>
    <message>
        <source>SVD 无法读取，读取是否改变芯片状态未知：不读
%1</source>
        <translation>The SVD does not say whether reading changes the chip&apos;s state: not read
%1</translation>
    </message>
    <message>
        <source>读取失败</source>
        <translation>Read failed</translation>
    </message>
    <message>
        <source>读取中</source>
        <translation>Reading</translation>
    </message>
    <message>
        <source>寄存器</source>
        <translation>Registers</translation>
    </message>
    <message>
        <source>未读取</source>
        <translation>Never read</translation>
    </message>
    <message>
        <source>读取于 %1</source>
        <translation>Read at %1</translation>
    </message>
    <message>
        <source>载入自 %1
文件时间 %2</source>
        <translation>Loaded from %1
File time %2</translation>
    </message>
    <message>
        <source>已修改，未读取</source>
        <translation>Edited, not read</translation>
    </message>
    <message>
        <source>
读取失败：显示的是旧值</source>
        <translation>
Read failed: the old value is shown</translation>
    </message>
    <message>
        <source>
已修改，未写入；芯片上的值 %1</source>
        <translation>
Edited, not written; on the chip %1</translation>
    </message>
    <message>
        <source>
已修改，未写入；芯片上的值未读取</source>
        <translation>
Edited, not written; the chip&apos;s value not read</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Offset</source>
        <translation>Offset</translation>
    </message>
    <message>
        <source>Bits</source>
        <translation>Bits</translation>
    </message>
    <message>
        <source>Access</source>
        <translation>Access</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>监视</source>
        <translation>Watch</translation>
    </message>
    <message>
        <source>%1 次/秒</source>
        <translation>%1 /s</translation>
    </message>
    <message>
        <source>查找 (Ctrl+F)</source>
        <translation>Find (Ctrl+F)</translation>
    </message>
    <message>
        <source>只看变化</source>
        <translation>Changes only</translation>
    </message>
    <message>
        <source>比较</source>
        <translation>Compare</translation>
    </message>
    <message>
        <source>与保存的数据比较</source>
        <translation>With the saved data</translation>
    </message>
    <message>
        <source>与文件夹中的数据比较...</source>
        <translation>With the data in a folder...</translation>
    </message>
    <message>
        <source>与 %1 比较</source>
        <translation>With %1</translation>
    </message>
    <message>
        <source>结束比较</source>
        <translation>End the comparison</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>选择数据文件夹</source>
        <translation>Choose the data folder</translation>
    </message>
    <message>
        <source>导出寄存器</source>
        <translation>Export registers</translation>
    </message>
    <message>
        <source>CSV Files(*.csv)</source>
        <translation>CSV Files(*.csv)</translation>
    </message>
    <message>
        <source>JSON Files(*.json)</source>
        <translation>JSON Files(*.json)</translation>
    </message>
    <message>
        <source>not in file</source>
        <translation>not in file</translation>
    </message>
    <message>
        <source>寄存器读取</source>
        <translation>Register read</translation>
    </message>
    <message>
        <source>寄存器写入</source>
        <translation>Register write</translation>
    </message>
    <message>
        <source>导入数据</source>
        <translation>Import data</translation>
    </message>
    <message>
        <source>保存数据</source>
        <translation>Save data</translation>
    </message>
    <message>
        <source>绘图</source>
        <translation>Plot</translation>
    </message>
    <message>
        <source>复制数值</source>
        <translation>Copy value</translation>
    </message>
    <message>
        <source>复制地址</source>
        <translation>Copy address</translation>
    </message>
    <message>
        <source>读写控制</source>
        <translation>Read and write</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>%1 秒</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>全部</source>
        <translation>All</translation>
    </message>
    <message>
        <source>保存 CSV</source>
        <translation>Save CSV</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>保存曲线</source>
        <translation>Save the plot</translation>
    </message>
    <message>
        <source>各自坐标轴</source>
        <translation>Own axes</translation>
    </message>
    <message>
        <source>归一化</source>
        <translation>Normalised</translation>
    </message>
    <message>
        <source>归一化 (0–1)</source>
        <translation>Normalised (0–1)</translation>
    </message>
    <message>
        <source>地址</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>后退 (Alt+Left)</source>
        <translation>Back (Alt+Left)</translation>
    </message>
    <message>
        <source>前进 (Alt+Right)</source>
        <translation>Forward (Alt+Right)</translation>
    </message>
    <message>
        <source>%1位</source>
        <translation>%1-bit</translation>
    </message>
    <message>
        <source>%1 字节/行</source>
        <translation>%1 bytes/row</translation>
    </message>
    <message>
        <source>字节序列</source>
        <translation>Byte sequence</translation>
    </message>
    <message>
        <source>32位值</source>
        <translation>32-bit value</translation>
    </message>
    <message>
        <source>从</source>
        <translation>From</translation>
    </message>
    <message>
        <source>长度</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>查找</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>保存到文件</source>
        <translation>Save to file</translation>
    </message>
    <message>
        <source>从文件载入</source>
        <translation>Load from file</translation>
    </message>
    <message>
        <source>查找中…</source>
        <translation>Finding…</translation>
    </message>
    <message>
        <source>找到 0x%1</source>
        <translation>Found at 0x%1</translation>
    </message>
    <message>
        <source>未找到</source>
        <translation>Not found</translation>
    </message>
    <message>
        <source>已取消</source>
        <translation>Cancelled</translation>
    </message>
    <message>
        <source>保存中…</source>
        <translation>Saving…</translation>
    </message>
    <message>
        <source>载入中…</source>
        <translation>Loading…</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>%1 不在外设列表中</source>
        <translation>%1 is not in the peripheral list</translation>
    </message>
</context>
</TS>
