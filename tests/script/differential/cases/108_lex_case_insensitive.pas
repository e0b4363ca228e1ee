VAR Counter: INTEGER;
  counterText: STRING;
FUNCTION Twice(N: integer): Integer;
BEGIN
  RESULT := n * 2;
END;
Begin
  counter := 21;
  COUNTER := twice(Counter);
  CounterText := inttostr(cOuNtEr);
  println(COUNTERTEXT);
  PRINTLN(TWICE(1));
  If Counter > 0 Then PrintLn('IF upper') ELSE PrintLn('wrong');
  PrintLn(true);
  PrintLn(FALSE Or True);
END.
