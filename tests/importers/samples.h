#ifndef SAMPLES_H
#define SAMPLES_H

#include <QByteArray>
#include <QList>
#include <QPair>

// One small result file of each format, written for these tests as the
// tools write them, and one of a format no parser here reads, so that each
// recogniser is tried on the others' files.
namespace Samples {

inline QByteArray tap()
{
    return "TAP version 13\n"
           "1..3\n"
           "ok 1 - adds\n"
           "not ok 2 - subtracts\n"
           "  ---\n"
           "  message: 'expected 4, got 5'\n"
           "  severity: fail\n"
           "  at:\n"
           "    file: t/calc.js\n"
           "    line: 21\n"
           "  duration_ms: 12.5\n"
           "  ...\n"
           "ok 3 - divides # SKIP no floats\n";
}

inline QByteArray nunit()
{
    return R"(<?xml version="1.0" encoding="utf-8" standalone="no"?><test-run id="0" runstate="Runnable" testcasecount="4" result="Failed" total="4" passed="1" failed="1" warnings="0" inconclusive="1" skipped="1" asserts="3" engine-version="3.16.3.0" clr-version="6.0.25" start-time="2024-03-01 09:15:02Z" end-time="2024-03-01 09:15:04Z" duration="1.52">
  <test-suite type="Assembly" id="0-1007" name="Calc.Tests.dll" fullname="/src/Calc.Tests/bin/Calc.Tests.dll" runstate="Runnable" testcasecount="4" result="Failed" start-time="2024-03-01 09:15:02Z" end-time="2024-03-01 09:15:04Z" duration="1.2" total="4" passed="1" failed="1" warnings="0" inconclusive="1" skipped="1" asserts="3">
    <environment framework-version="3.13.3.0" clr-version="6.0.25" os-version="Linux" platform="Unix" cwd="/src" machine-name="build-07" user="ci" user-domain="build-07" culture="en-US" uiculture="en-US" os-architecture="x64" />
    <properties><property name="_PID" value="4242" /><property name="_APPDOMAIN" value="testhost" /></properties>
    <failure><message><![CDATA[One or more child tests had errors]]></message></failure>
    <test-suite type="TestSuite" id="0-1008" name="Calc" fullname="Calc" runstate="Runnable" testcasecount="4" result="Failed" total="4" passed="1" failed="1" warnings="0" inconclusive="1" skipped="1">
      <test-suite type="TestFixture" id="0-1000" name="AdderTests" fullname="Calc.AdderTests" classname="Calc.AdderTests" runstate="Runnable" testcasecount="4" result="Failed" total="4" passed="1" failed="1" inconclusive="1" skipped="1">
        <test-case id="0-1001" name="Adds" fullname="Calc.AdderTests.Adds" methodname="Adds" classname="Calc.AdderTests" runstate="Runnable" seed="1" result="Passed" start-time="2024-03-01 09:15:03Z" end-time="2024-03-01 09:15:03Z" duration="0.012" asserts="1">
          <properties><property name="Category" value="Fast" /></properties><output><![CDATA[adding 2 and 2
]]></output></test-case>
        <test-case id="0-1002" name="Overflows" fullname="Calc.AdderTests.Overflows" methodname="Overflows" classname="Calc.AdderTests" runstate="Runnable" seed="2" result="Failed" label="Error" start-time="2024-03-01 09:15:03Z" duration="0.3" asserts="0">
          <failure><message><![CDATA[System.OverflowException : Arithmetic operation resulted in an overflow.]]></message>
            <stack-trace><![CDATA[   at Calc.Adder.Add(Int32 a, Int32 b)
   at Calc.AdderTests.Overflows() in /src/Calc.Tests/AdderTests.cs:line 31]]></stack-trace></failure></test-case>
        <test-case id="0-1003" name="Rounds" fullname="Calc.AdderTests.Rounds" methodname="Rounds" classname="Calc.AdderTests" runstate="Ignored" seed="3" result="Skipped" label="Ignored" duration="0" asserts="0"><reason><message><![CDATA[rounding not decided]]></message></reason></test-case>
        <test-case id="0-1004" name="Guesses" fullname="Calc.AdderTests.Guesses" classname="Calc.AdderTests" result="Inconclusive" duration="0.001" />
      </test-suite></test-suite></test-suite></test-run>
)";
}

inline QByteArray xunit()
{
    return R"(<?xml version="1.0" encoding="utf-8"?><assemblies timestamp="03/01/2024 09:15:02">
  <assembly name="/src/Calc.Tests/bin/Calc.Tests.dll" run-date="2024-03-01" run-time="09:15:02" config-file="/src/Calc.Tests/bin/Calc.Tests.dll.config" test-framework="xUnit.net 2.4.2.0" environment="64-bit .NET 6.0.25 [collection-per-class, parallel (2 threads)]" total="4" passed="1" failed="1" skipped="2" time="0.512" errors="0">
    <errors />
    <collection total="4" passed="1" failed="1" skipped="2" name="Test collection for Calc.AdderTests" time="0.310">
      <test name="Calc.AdderTests.Adds" type="Calc.AdderTests" method="Adds" time="0.0120000" result="Pass">
        <traits><trait name="Category" value="Fast" /></traits><output><![CDATA[adding 2 and 2]]></output></test>
      <test name="Calc.ScaleTests.Doubles" type="Calc.ScaleTests" method="Doubles" time="0.0050000" result="Skip"><reason><![CDATA[scales pending]]></reason></test>
      <test name="Calc.AdderTests.Overflows" type="Calc.AdderTests" method="Overflows" time="0.3000000" result="Fail">
        <failure exception-type="System.OverflowException"><message><![CDATA[Arithmetic operation resulted in an overflow.]]></message>
          <stack-trace><![CDATA[   at Calc.AdderTests.Overflows() in /src/Calc.Tests/AdderTests.cs:line 31]]></stack-trace></failure></test>
      <test name="Calc.AdderTests.Later" type="Calc.AdderTests" method="Later" time="0" result="NotRun" />
    </collection></assembly></assemblies>
)";
}

inline QByteArray trx()
{
    return R"(<?xml version="1.0" encoding="utf-8"?><TestRun id="7b1c5f1e-0000-4000-8000-000000000001" name="ci@build-07 2024-03-01 09:15:02" runUser="ci" xmlns="http://microsoft.com/schemas/VisualStudio/TeamTest/2010">
  <Times creation="2024-03-01T09:15:02.0000000+00:00" queuing="2024-03-01T09:15:02.0000000+00:00" start="2024-03-01T09:15:02.1000000+00:00" finish="2024-03-01T09:15:04.0000000+00:00" />
  <Results>
    <UnitTestResult executionId="e1" testId="t1" testName="Adds" computerName="build-07" duration="00:00:00.0120000" startTime="2024-03-01T09:15:03.0000000+00:00" endTime="2024-03-01T09:15:03.0120000+00:00" testType="13cdc9d9-ddb5-4fa4-a97d-d965ccfc6d4b" outcome="Passed" testListId="l1" relativeResultsDirectory="e1"><Output><StdOut>adding 2 and 2</StdOut></Output></UnitTestResult>
    <UnitTestResult executionId="e2" testId="t2" testName="Doubles" computerName="build-07" duration="00:00:00.0050000" testType="13cdc9d9-ddb5-4fa4-a97d-d965ccfc6d4b" outcome="NotExecuted" testListId="l1" relativeResultsDirectory="e2" />
    <UnitTestResult executionId="e3" testId="t3" testName="Overflows" computerName="build-07" duration="00:00:01.2340000" testType="13cdc9d9-ddb5-4fa4-a97d-d965ccfc6d4b" outcome="Failed" testListId="l1" relativeResultsDirectory="e3">
      <Output><StdErr>warning: big numbers</StdErr><ErrorInfo><Message>Assert.AreEqual failed. Expected:&lt;4&gt;. Actual:&lt;5&gt;.</Message>
          <StackTrace>   at Calc.AdderTests.Overflows() in /src/Calc.Tests/AdderTests.cs:line 31
</StackTrace></ErrorInfo></Output></UnitTestResult>
  </Results>
  <TestDefinitions>
    <UnitTest name="Adds" storage="/src/calc.tests.dll" id="t1"><Execution id="e1" /><TestMethod codeBase="/src/Calc.Tests.dll" adapterTypeName="executor://mstestadapter/v2" className="Calc.AdderTests" name="Adds" /></UnitTest>
    <UnitTest name="Doubles" storage="/src/calc.tests.dll" id="t2"><Execution id="e2" /><TestMethod codeBase="/src/Calc.Tests.dll" adapterTypeName="executor://mstestadapter/v2" className="Calc.ScaleTests" name="Doubles" /></UnitTest>
    <UnitTest name="Overflows" storage="/src/calc.tests.dll" id="t3"><Execution id="e3" /><TestMethod codeBase="/src/Calc.Tests.dll" adapterTypeName="executor://mstestadapter/v2" className="Calc.AdderTests" name="Overflows" /></UnitTest>
  </TestDefinitions>
  <ResultSummary outcome="Failed"><Counters total="3" executed="2" passed="1" failed="1" error="0" timeout="0" inconclusive="0" notExecuted="1" /></ResultSummary>
</TestRun>
)";
}

inline QByteArray junit()
{
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<testsuites tests="1" failures="0"><testsuite name="calc" tests="1"><testcase classname="calc" name="ok 1" time="0.1"/></testsuite></testsuites>
)";
}

inline QList<QPair<const char*, QByteArray>> all()
{
    return {{"TAP", tap()}, {"NUnit", nunit()}, {"xUnit", xunit()},
            {"TRX", trx()}, {"JUnit", junit()}, {"text", "make: Nothing to be done.\n"}};
}

} // namespace Samples

#endif
